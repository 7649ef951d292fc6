// The band across the top of the exercise window: its title painted letter by letter, from a
// pale yellow to white.
#pragma once

#include <QColor>
#include <QWidget>

class TitleBand : public QWidget
{
    Q_OBJECT
public:
    explicit TitleBand(const QString &title, QWidget *parent = nullptr);

    static const QColor background;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void tito_Paint(QPainter &p);

    QString title;
};
