#pragma once
// Names the writes made while it lives, for the journal and the undo list: a load, a restore,
// a compare write, an undo. Writes outside any operation are a user's step, commit or choice,
// named by the control that made them. Operations nest; the outermost names the writes.
// Operations are open on one controller's session (WriteOperations): an operation on one
// controller names nothing written to another.

#include <QString>

#include <functional>
#include <vector>

class WriteOperation;

// The operations open on one session, and who hears when the outermost ends. Used on the
// session's thread only.
class WriteOperations {
public:
    WriteOperations() = default;
    WriteOperations(const WriteOperations&) = delete;
    WriteOperations& operator=(const WriteOperations&) = delete;

    // The outermost operation open now, or nullptr.
    const WriteOperation* Current() const;

    // `hook` runs when the outermost operation ends, until its owner takes it away; each owner
    // has one hook, and taking one away leaves the others'.
    void SetEndHook(const void* owner, std::function<void()> hook);
    void ClearEndHook(const void* owner);

private:
    friend class WriteOperation;
    void Ended();

    const WriteOperation* innermost_ = nullptr;
    struct Hook {
        const void* owner;
        std::function<void()> run;
    };
    std::vector<Hook> endHooks_;
};

class WriteOperation {
public:
    enum class Undo {
        Record, // the writes form one action that can be undone
        Skip,   // the writes are not an action of their own (an undo or redo, the connection)
    };

    // Open on `context` until it goes; `context` outlives it.
    WriteOperation(WriteOperations& context, QString operation, QString label, Undo undo);
    ~WriteOperation();
    WriteOperation(const WriteOperation&) = delete;
    WriteOperation& operator=(const WriteOperation&) = delete;

    const QString& Operation() const { return operation_; }
    const QString& Label() const { return label_; }
    bool Recorded() const { return undo_ == Undo::Record; }

private:
    friend class WriteOperations;
    WriteOperations& context_;
    QString operation_;
    QString label_;
    Undo undo_;
    const WriteOperation* outer_;
};
