#include "support/ScriptedMsg.h"

#include <gtest/gtest.h>

ScriptedMsg::ScriptedMsg() {
    Msg::setHandler([this](const MsgBox& box) {
        shown_ << box;
        if (onShow_) onShow_(box);
        if (answers_.isEmpty()) {
            if (!allowUnexpected_)
                ADD_FAILURE() << "unexpected message box [" << box.caption.toStdString() << "] "
                              << box.text.toStdString();
            switch (box.buttons) {
            case MsgButtons::Ok: return MsgResult::Ok;
            case MsgButtons::YesNo: return MsgResult::No;
            default: return MsgResult::Cancel;
            }
        }
        return answers_.takeFirst();
    });
}

ScriptedMsg::~ScriptedMsg() { Msg::setHandler({}); }

void ScriptedMsg::expect(MsgResult answer) { answers_ << answer; }

void ScriptedMsg::expect(std::initializer_list<MsgResult> answers) {
    for (MsgResult a : answers) answers_ << a;
}

QStringList ScriptedMsg::texts() const {
    QStringList out;
    for (const MsgBox& b : shown_) out << b.text;
    return out;
}

bool ScriptedMsg::sawText(const QString& part) const {
    for (const MsgBox& b : shown_)
        if (b.text.contains(part)) return true;
    return false;
}

void ScriptedMsg::clear() {
    answers_.clear();
    shown_.clear();
    onShow_ = {};
}
