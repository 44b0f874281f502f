#pragma once
#include <string>

// The text of the default error box: the message, with a full stop appended when its last
// character sorts after "." ("Error opening file" gains one; a text ending in a quote does not).
std::string ErrorBoxText(const std::string& message);
