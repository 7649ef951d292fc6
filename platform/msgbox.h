// The one way the program asks or tells the user something in a message box, and beeps.
// Tests install an interceptor to read the message and choose the answer.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace msgbox {

enum class Icon { Information, Warning, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };

struct Request
{
    QString text;
    QString title;
    Icon icon;
    Buttons buttons;
};

using Interceptor = std::function<Answer(const Request &)>;

Answer show(QWidget *parent, const QString &text, const QString &title, Icon icon,
            Buttons buttons = Buttons::Ok);

// The system beep.
void beep();

// Test hooks: while an interceptor is set, no box is shown and no sound is made.
void setInterceptor(Interceptor interceptor);
void setBeepCounter(int *counter);

} // namespace msgbox
