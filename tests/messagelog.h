// Message boxes answered without a window, for the tests that look at what they said.
#pragma once

#include "platform/msgbox.h"

#include <QList>

// From now on every message box is recorded in `asked` and answered from `answers` in turn,
// then with `otherwise`; both lists start empty.
inline void recordMessages(QList<msgbox::Request> &asked, QList<msgbox::Answer> *answers = nullptr,
                           msgbox::Answer otherwise = msgbox::Answer::Ok)
{
    asked.clear();
    if (answers)
        answers->clear();
    msgbox::setInterceptor([&asked, answers, otherwise](const msgbox::Request &r) {
        asked.append(r);
        return answers && !answers->isEmpty() ? answers->takeFirst() : otherwise;
    });
}
