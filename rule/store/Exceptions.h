// The exceptions of the rule client. They are thrown as pointers to heap
// objects and deleted by whoever catches them; a failed allocation throws a
// null pointer, which catchers accept. Their texts are never shown.
#pragma once

#include "WString.h"

#include <new>

class Exception {
public:
    explicit Exception(const WString& message) : message_(message) {}
    virtual ~Exception() {}
    const WString& Message() const { return message_; }

private:
    WString message_;
};

// A failed message-store call.
class CMapiException : public Exception {
public:
    explicit CMapiException(const WString& message) : Exception(message) {}
};

[[noreturn]] inline void ThrowException(LPCWSTR message) {
    throw new (std::nothrow) Exception(WString::FromText(message));
}

[[noreturn]] inline void ThrowMapiException(LPCWSTR message) {
    throw new (std::nothrow) CMapiException(WString::FromText(message));
}
