#pragma once
// The write actions of one connection that can be taken back: each user gesture (a step, a
// commit, a choice, a whole load, restore or compare write) is one action holding every
// parameter word it wrote, with the word before and after. Undoing moves an action to the redo
// list; a new action clears that list.

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

struct WrittenWord {
    uint8_t address = 0;
    std::optional<uint16_t> oldWord; // none: the word before was not known
    uint16_t newWord = 0;
};

struct WriteAction {
    QString label; // as the menu names it: "Количество цилиндров 4 → 3", "Загрузка из файла a.q5t"
    std::vector<WrittenWord> words; // in the order written

    // The words that take the action back, last written first; none when a word before it
    // was not known.
    std::optional<std::vector<WrittenWord>> UndoWrites() const;
    // The words that apply it again, in the order first written.
    std::vector<WrittenWord> RedoWrites() const;
};

class UndoHistory {
public:
    // Adds a word to the open action, opening one labelled `label` when none is open.
    void Add(const WrittenWord& word, const QString& label);
    // Ends the open action; a new one starts with the next word. An action's label is then
    // final: one word given no label of its own is named by its parameter and both values.
    void Close();
    bool Open() const { return open_; }
    // Opens the last action again for a gesture that goes on (a key or an arrow held down):
    // its next words join it, a word it holds already only takes the new value.
    void Reopen();

    const WriteAction* NextUndo() const;
    const WriteAction* NextRedo() const;
    void Undone();
    void Redone();
    void Clear();

private:
    std::vector<WriteAction> undo_;
    std::vector<WriteAction> redo_;
    bool open_ = false;
    bool reopened_ = false;
    bool labelledAtClose_ = false;
    bool reopenable_ = false; // the last action closed is the last to undo
};

// "<name> <old> → <new>" as the window shows both words, for a single word written.
QString SingleWordLabel(const WrittenWord& word);
