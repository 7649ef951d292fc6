#include "output/updown.h"

#include <QKeyEvent>
#include <QToolButton>
#include <algorithm>

UpDown::UpDown(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    const auto arrow = [this](Qt::ArrowType type, const QString &name, int step) {
        auto *b = new QToolButton(this);
        b->setArrowType(type);
        b->setObjectName(name);
        b->setAccessibleName(step > 0 ? QStringLiteral("Plus") : QStringLiteral("Moins"));
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, [this, step] { setValue(m_value + step); });
        return b;
    };
    m_up = arrow(Qt::UpArrow, QStringLiteral("haut"), 1);
    m_down = arrow(Qt::DownArrow, QStringLiteral("bas"), -1);
}

void UpDown::setRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = std::max(minimum, maximum);
    setValue(m_value);
}

void UpDown::setValue(int value)
{
    value = std::clamp(value, m_min, m_max);
    if (value == m_value)
        return;
    m_value = value;
    Q_EMIT valueChanged(value);
}

void UpDown::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        setValue(m_value + 1);
        break;
    case Qt::Key_Down:
        setValue(m_value - 1);
        break;
    case Qt::Key_PageUp:
        setValue(m_value + 10);
        break;
    case Qt::Key_PageDown:
        setValue(m_value - 10);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void UpDown::resizeEvent(QResizeEvent *event)
{
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
    QWidget::resizeEvent(event);
}
