#pragma once
#include "platform/ui/Msg.h"

#include <QList>

#include <functional>

// Answers message boxes from a queue and records every box. A box shown
// when the queue is empty fails the test (and is answered Cancel/No/Ok).
class ScriptedMsg {
public:
    ScriptedMsg();
    ~ScriptedMsg();

    // Queues answers in order.
    void expect(MsgResult answer);
    void expect(std::initializer_list<MsgResult> answers);
    // Let the next n boxes (or all, with -1) pass with their plain answer
    // without failing the test.
    void allowUnexpected(bool allow) { allowUnexpected_ = allow; }

    // Called with each box as it appears, before it is answered: what the
    // program did before showing it can be looked at then.
    void onShow(std::function<void(const MsgBox&)> f) { onShow_ = std::move(f); }

    const QList<MsgBox>& shown() const { return shown_; }
    // Texts of the boxes shown, in order.
    QStringList texts() const;
    bool sawText(const QString& part) const;
    int pending() const { return int(answers_.size()); }
    void clear();

private:
    QList<MsgResult> answers_;
    QList<MsgBox> shown_;
    bool allowUnexpected_ = false;
    std::function<void(const MsgBox&)> onShow_;
};
