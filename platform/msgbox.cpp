#include "platform/msgbox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace msgbox {
namespace {
    Interceptor g_interceptor;
    int *g_beeps = nullptr;

    QMessageBox::Icon qtIcon(Icon icon)
    {
        switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        }
        return QMessageBox::NoIcon;
    }
} // namespace

Answer show(QWidget *parent, const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    if (g_interceptor)
        return g_interceptor(Request {text, title, icon, buttons});

    QMessageBox box(qtIcon(icon), title, text, QMessageBox::NoButton, parent);
    // French captions whatever translations are installed.
    QPushButton *first = nullptr;
    QPushButton *second = nullptr;
    switch (buttons) {
    case Buttons::Ok:
        first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case Buttons::OkCancel:
        first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        second = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
        break;
    case Buttons::YesNo:
        first = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
        second = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
        break;
    }
    box.setDefaultButton(first);
    if (second)
        box.setEscapeButton(second);
    box.exec();
    const bool firstChosen = box.clickedButton() == first;
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return firstChosen ? Answer::Ok : Answer::Cancel;
    case Buttons::YesNo:
        return firstChosen ? Answer::Yes : Answer::No;
    }
    return Answer::Cancel;
}

void beep()
{
    if (g_beeps) {
        ++*g_beeps;
        return;
    }
    QApplication::beep();
}

void setInterceptor(Interceptor interceptor)
{
    g_interceptor = std::move(interceptor);
}

void setBeepCounter(int *counter)
{
    g_beeps = counter;
}

} // namespace msgbox
