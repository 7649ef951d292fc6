// The row of hourglasses that tells how long an exercise takes: one hourglass for each "6" of
// its text, the character that stood for an hourglass in a symbol font.
#pragma once

#include <QWidget>

class HourglassRow : public QWidget
{
    Q_OBJECT
public:
    explicit HourglassRow(QWidget *parent = nullptr);

    QString text() const { return content; }
    void setText(const QString &text);
    int count() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString content;
};
