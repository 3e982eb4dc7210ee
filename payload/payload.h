// A file carried inside the program: its name, its size and its bytes, which
// lie in the program's read-only data and are used in place, never copied.
#pragma once

#include <cstdint>
#include <string_view>

struct TPayloadRecord {
    const char* Name;
    std::uint32_t Size;
    const std::uint8_t* Data;

    // The data read as text up to its first NUL (the SQL records end in one).
    std::string_view Text() const
    {
        const auto* text = reinterpret_cast<const char*>(Data);
        std::uint32_t n = 0;
        while (n < Size && text[n] != '\0') ++n;
        return std::string_view(text, n);
    }
};

// Places a file's bytes in read-only data between two labels, and its length
// after them. The assembler needs the platform's symbol prefix ("_" on 32-bit).
#define QV_PAYLOAD_STR2(x) #x
#define QV_PAYLOAD_STR(x) QV_PAYLOAD_STR2(x)
#define QV_PAYLOAD_SYM(name) QV_PAYLOAD_STR(__USER_LABEL_PREFIX__) "qv_payload_" #name

#define QV_PAYLOAD_INCBIN(name, file)                                                      \
    __asm__(".section .rdata,\"dr\"\n"                                                     \
            ".balign 16\n"                                                                 \
            ".globl " QV_PAYLOAD_SYM(name) "\n" QV_PAYLOAD_SYM(name) ":\n"                 \
            ".incbin \"" file "\"\n"                                                       \
            QV_PAYLOAD_SYM(name) "_end:\n"                                                 \
            ".balign 4\n"                                                                  \
            ".globl " QV_PAYLOAD_SYM(name) "_size\n" QV_PAYLOAD_SYM(name) "_size:\n"       \
            ".long " QV_PAYLOAD_SYM(name) "_end - " QV_PAYLOAD_SYM(name) "\n"              \
            ".text\n");                                                                    \
    extern "C" const std::uint8_t qv_payload_##name[];                                     \
    extern "C" const std::uint32_t qv_payload_##name##_size;

#define QV_PAYLOAD_RECORD(name, fileName) \
    const TPayloadRecord name = {fileName, qv_payload_##name##_size, qv_payload_##name};
