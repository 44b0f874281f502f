#pragma once
// Failures travel as exceptions carrying the text the user will read. One default error
// handler (the application object) shows them; nothing in between rewords them.
#include <stdexcept>
#include <string>

// The base class of every failure the program reports.
class Exception : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A registry value that cannot be read or written ("Failed to get data for '%s'", ...).
class ERegistryException : public Exception {
public:
  using Exception::Exception;
};

// An index outside a list ("List index out of bounds (%d)").
class EListError : public Exception {
public:
  using Exception::Exception;
};

// printf-style formatting into a std::string, for the message texts.
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
