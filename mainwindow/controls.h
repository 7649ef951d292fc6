// Small native controls of the main window that behave as their place on the window promises.
#pragma once

#include <QCheckBox>
#include <QLabel>

// An option box that answers a click anywhere in its place, not only on its box and caption.
class OptionBox : public QCheckBox
{
    Q_OBJECT
public:
    OptionBox(const QString &text, QWidget *parent);

protected:
    bool hitButton(const QPoint &pos) const override;
};

// The status line: its text is what a screen reader reads, and each new hint is announced.
class StatusLine : public QLabel
{
    Q_OBJECT
public:
    explicit StatusLine(QWidget *parent);
    void setText(const QString &text);
};

// The keyboard focus drawn over a control of any colour: a light line under dark dashes.
void paintFocusOutline(QWidget *widget, const QRect &r, const QPen &dashes);

// A picture that serves as a button: the keyboard reaches it, and then it is outlined, as a
// button would be.
class PictureButton : public QLabel
{
    Q_OBJECT
public:
    explicit PictureButton(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
