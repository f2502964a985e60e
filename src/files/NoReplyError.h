#pragma once
// The controller stopped answering in the middle of a save or a load. Shown by the
// application's error handler like the file errors; what() is UTF-8.

#include <stdexcept>
#include <string>

class ENoReply : public std::runtime_error {
public:
    ENoReply() : std::runtime_error("Нет ответа от прибора!") {}

protected:
    explicit ENoReply(const std::string& text) : std::runtime_error(text) {}
};

// A write of many words stopped at a word without a reply: the controller holds the first
// `written` new words and its old ones after them. The text says so and how to go back.
class EWriteStopped : public ENoReply {
public:
    EWriteStopped(std::size_t written, std::size_t total)
        : ENoReply("Нет ответа от прибора!\n\nЗаписано слов: " + std::to_string(written) + " из " +
                   std::to_string(total) +
                   ".\n«Отменить» (Ctrl+Z) вернёт прибору прежние значения.") {}
};
