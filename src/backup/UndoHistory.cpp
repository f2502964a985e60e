#include "UndoHistory.h"

#include "Catalogue.h"

#include <algorithm>

std::optional<std::vector<WrittenWord>> WriteAction::UndoWrites() const {
    std::vector<WrittenWord> writes;
    for (auto it = words.rbegin(); it != words.rend(); ++it) {
        if (!it->oldWord)
            return std::nullopt;
        writes.push_back({it->address, it->newWord, *it->oldWord});
    }
    return writes;
}

std::vector<WrittenWord> WriteAction::RedoWrites() const {
    return words;
}

void UndoHistory::Add(const WrittenWord& word, const QString& label) {
    if (!open_) {
        undo_.push_back(WriteAction{label, {}});
        redo_.clear();
        open_ = true;
    }
    std::vector<WrittenWord>& words = undo_.back().words;
    if (reopened_) {
        const auto same = std::find_if(words.begin(), words.end(), [&word](const WrittenWord& w) {
            return w.address == word.address;
        });
        if (same != words.end()) {
            same->newWord = word.newWord;
            return;
        }
    }
    words.push_back(word);
}

void UndoHistory::Reopen() {
    if (open_ || !reopenable_)
        return;
    open_ = true;
    reopened_ = true;
    if (labelledAtClose_)
        undo_.back().label.clear();
}

void UndoHistory::Close() {
    if (!open_)
        return;
    open_ = false;
    reopened_ = false;
    WriteAction& action = undo_.back();
    labelledAtClose_ = action.label.isEmpty();
    reopenable_ = true;
    if (action.label.isEmpty())
        action.label = action.words.size() == 1 ? SingleWordLabel(action.words.front())
                                                : SingleWordLabel(action.words.back());
}

const WriteAction* UndoHistory::NextUndo() const {
    return undo_.empty() || open_ ? nullptr : &undo_.back();
}

const WriteAction* UndoHistory::NextRedo() const {
    return redo_.empty() || open_ ? nullptr : &redo_.back();
}

void UndoHistory::Undone() {
    if (undo_.empty())
        return;
    redo_.push_back(std::move(undo_.back()));
    undo_.pop_back();
    reopenable_ = false;
}

void UndoHistory::Redone() {
    if (redo_.empty())
        return;
    undo_.push_back(std::move(redo_.back()));
    redo_.pop_back();
    reopenable_ = false;
}

void UndoHistory::Clear() {
    undo_.clear();
    redo_.clear();
    open_ = false;
    reopenable_ = false;
}

QString SingleWordLabel(const WrittenWord& word) {
    const Catalogue::Entry* entry = Catalogue::SetterOf(word.address);
    if (!entry)
        return Catalogue::ParamName(word.address);
    const auto shown = [entry](uint16_t value) { return entry->ShownText(value).trimmed(); };
    return QStringLiteral("%1 %2 → %3")
        .arg(entry->Name(), word.oldWord ? shown(*word.oldWord) : QStringLiteral("?"),
             shown(word.newWord));
}
