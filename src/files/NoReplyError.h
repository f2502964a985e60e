#pragma once
// The controller stopped answering in the middle of a save or a load. Shown by the
// application's error handler like the file errors; what() is UTF-8.

#include <stdexcept>

class ENoReply : public std::runtime_error {
public:
    ENoReply() : std::runtime_error("Нет ответа от прибора!") {}
};
