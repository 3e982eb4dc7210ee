// The line protocol the programs speak among themselves, beside the install
// query. Every exchange is one TCP connection with lines ending in CR LF:
//
//   request line   "<Verb> 1.0[ <argument>]"
//   request body   (Report only) lines, then the end marker "."
//   reply          "OK", reply lines, the end marker "."; or one line
//                  "ERROR <text>" and nothing more
//
// A body line that begins with "." is sent with one more "." in front, so
// that no content line reads as the end marker. Pure text handling.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/net/line.h"
#include "platform/rtl/classes.h"

namespace proto {

// Limits both sides keep. A line longer than net::MaxLineLength is refused.
constexpr std::size_t MaxBodyLines = 20000;
constexpr std::size_t MaxBodyBytes = 2 * 1024 * 1024;
constexpr std::size_t MaxComputerName = 63;
constexpr unsigned ConnectTimeoutMs = 5000;   // a client's wait for the connection
constexpr unsigned LineTimeoutMs = 10000;     // longest silence within an exchange, either side
constexpr unsigned ExchangeTimeoutMs = 60000; // the whole exchange, whatever its pace

extern const char* const EndMarker;  // "."
extern const char* const OkLine;     // "OK"

// "Inventory 1.0": this computer's inventory; reply lines are the inventory.
// "Report 1.0 <computer>": an agent's report; the body is the inventory, the
//   reply has no lines.
// "Reporters 1.0": the computers that reported; one reply line per computer,
//   the items <computer>,<time of the last report, UTC "YYYY-MM-DD hh:mm:ss">.
enum class TRequestKind { Install, Inventory, Report, Reporters, Unknown };

struct TRequest {
    TRequestKind Kind = TRequestKind::Unknown;
    std::string Argument;  // Report: the computer name
};

TRequest ParseRequest(const std::string& line);
std::string InventoryRequest();
std::string ReportRequest(const std::string& computer);
std::string ReportersRequest();

// A computer name a report may carry: 1 to MaxComputerName characters, no
// control characters, not only blanks.
bool ValidComputerName(const std::string& name);

// The reply to a failed request; its text has no line breaks.
std::string ErrorReply(const std::string& text);
// The text of an "ERROR" line; false for any other line.
bool ParseErrorReply(const std::string& line, std::string& text);

// Body lines as sent: each stuffed, then the end marker.
std::vector<std::string> FrameBody(const rtl::TStringList& body);

// Collects received body lines up to the end marker, within the limits.
class TBodyReader {
public:
    enum class TResult { More, Done, TooBig };
    TResult Add(const std::string& line);
    const rtl::TStringList& Body() const { return body_; }
    rtl::TStringList& Body() { return body_; }

private:
    rtl::TStringList body_;
    std::size_t bytes_ = 0;
};

struct TReporter {
    std::string Computer;
    std::string Time;
};
std::string FormatReporter(const TReporter& reporter);
// False for a line that is not two items.
bool ParseReporter(const std::string& line, TReporter& reporter);

}  // namespace proto
