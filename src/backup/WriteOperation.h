#pragma once
// Names the writes made while it lives, for the journal and the undo list: a load, a restore,
// a compare write, an undo. Writes outside any operation are a user's step, commit or choice,
// named by the control that made them. Operations nest; the outermost names the writes.

#include <QString>

#include <functional>

class WriteOperation {
public:
    enum class Undo {
        Record, // the writes form one action that can be undone
        Skip,   // the writes are not an action of their own (an undo or redo, the connection)
    };

    WriteOperation(QString operation, QString label, Undo undo);
    ~WriteOperation();
    WriteOperation(const WriteOperation&) = delete;
    WriteOperation& operator=(const WriteOperation&) = delete;

    // Called when the outermost operation ends.
    static void SetEndHook(std::function<void()> hook);

    // The operation open now, or nullptr.
    static const WriteOperation* Current();

    const QString& Operation() const { return operation_; }
    const QString& Label() const { return label_; }
    bool Recorded() const { return undo_ == Undo::Record; }

private:
    QString operation_;
    QString label_;
    Undo undo_;
    const WriteOperation* outer_;
};
