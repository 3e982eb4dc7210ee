// A data object filled once by its query; State 0 not run, -1 begun and not
// completed, 1 completed.
#pragma once

#include "uBaseData.h"

class TQueryData : public TBaseData {
public:
    // With runAtOnce the query runs before the constructor returns. Concrete
    // queries do the same at the end of their own constructors, where their
    // override of Query is the one that runs.
    explicit TQueryData(bool runAtOnce = false) : TQueryData(std::string(), std::string()) { if (runAtOnce) Query(); }
    const char* ClassName() const override { return "TQueryData"; }

    // Runs the query with no argument and returns State. Every query runs at
    // most once: when State is not 0 it returns State and changes nothing.
    virtual int Query() { return state_; }

    int State() const { return state_; }
    void SetState(int value) { state_ = value; }

    void Assign(const rtl::TPersistent* source) override;

protected:
    TQueryData(std::string dataClass, std::string dataType) : TBaseData(std::move(dataClass), std::move(dataType)) {}

private:
    int state_ = 0;
};
