#pragma once
// Reads the frame log of one cell and tells where each word written to the controller came
// from. When a read selects an option, the selected button or slider writes its word straight
// back: such a write-back follows the read of its own address and must carry what a reply the
// controller really sent says. Every other write is the operation's own (the user's step, a
// file's word); the test compares those with what the operation may write.

#include "ControllerWords.h"
#include "FaultWindow.h"

#include <QStringList>

#include <vector>

struct SliderRange {
    int minimum = 0;
    int maximum = 0;
};

class FrameAudit {
public:
    FrameAudit(std::vector<q5emu::LoggedFrame> frames, const ControllerWords& start,
               const FaultWindow& fault, SliderRange damping);

    const std::vector<q5emu::LoggedFrame>& frames() const { return frames_; }
    bool hits(size_t index) const { return fault_.hits(index); }
    size_t framesHit() const;

    // Log indices of the writes that are no write-back, in order.
    std::vector<size_t> ownWrites() const;
    // "frame 12: P93 <- 0 ..." for every write-back that no reply accounts for.
    const QStringList& writeBackProblems() const { return problems_; }
    // What the controller must hold now: the start words with every write it heard.
    const ControllerWords& expectedWords() const { return expected_; }

private:
    void replay();
    void checkWriteBack(size_t index);

    std::vector<q5emu::LoggedFrame> frames_;
    FaultWindow fault_;
    SliderRange damping_;
    ControllerWords expected_;
    std::vector<bool> writeBack_;
    std::vector<bool> replied_;
    std::vector<uint16_t> replyWord_;
    QStringList problems_;
};
