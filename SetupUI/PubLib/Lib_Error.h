// The project's error type: carries a UTF-16 message for the error box and the log.
#pragma once
#include <exception>
#include <string>

class EKovrinError : public std::exception {
public:
    explicit EKovrinError(std::wstring message);
    const std::wstring& Message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_narrow.c_str(); }

private:
    std::wstring m_message;
    std::string m_narrow;  // UTF-8 copy for what()
};

// Message of any exception the event boundary may catch.
std::wstring ErrorMessageOf(const std::exception& e);
