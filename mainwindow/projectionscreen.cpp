#include "mainwindow/projectionscreen.h"

#include "mainwindow/figureview.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <algorithm>
#include <cmath>

ProjectionScreen::ProjectionScreen(QWidget *owner)
    : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("projectionScreen"));
    setWindowTitle(QStringLiteral("Optalis - projection"));
    setAccessibleName(QStringLiteral("Figure en plein écran"));
    setAutoFillBackground(true);
    m_values = new QLabel(this);
    m_values->setObjectName(QStringLiteral("projectionValues"));
    m_values->setAccessibleDescription(QStringLiteral("Positions et hauteurs des images"));
    m_values->setAlignment(Qt::AlignCenter);
    auto *leave = new QAction(this);
    leave->setObjectName(QStringLiteral("leaveFullScreen"));
    leave->setShortcut(QKeySequence(Qt::Key_Escape));
    leave->setShortcutContext(Qt::WindowShortcut);
    connect(leave, &QAction::triggered, this, [this] {
        if (onLeave)
            onLeave();
    });
    addAction(leave);
}

void ProjectionScreen::showFigure(FigureView *figure)
{
    m_figure = figure;
    figure->setParent(this);
    figure->show();
    // On the main window's screen, as a window it owns. Without a window manager a
    // full-screen request changes nothing: the size is set too.
    if (QScreen *s = screen())
        setGeometry(s->geometry());
    showFullScreen();
    activateWindow();
    layOut();
    figure->setFocus();
}

void ProjectionScreen::setValues(const QStringList &rows, QRgb back)
{
    const QColor ink = qGray(back) < 128 ? Qt::white : Qt::black;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(back));
    pal.setColor(QPalette::WindowText, ink);
    setPalette(pal);
    m_values->setPalette(pal);
    if (rows != m_rows) {
        m_rows = rows;
        layOut();
    }
}

void ProjectionScreen::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void ProjectionScreen::closeEvent(QCloseEvent *event)
{
    // Closed by the window manager: the figure goes back to the main window first.
    if (m_figure && onLeave)
        onLeave();
    event->accept();
}

void ProjectionScreen::layOut()
{
    // Read from the back of a room: a line of text a thirtieth of the screen's height.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(16, height() / 30));
    font.setBold(true);
    m_values->setFont(font);
    const QFontMetrics metrics(font);
    const QString line = m_rows.join(QStringLiteral("     "));
    const bool fits = metrics.horizontalAdvance(line) < width() - 2 * font.pixelSize();
    m_values->setText(fits ? line : m_rows.join(QLatin1Char('\n')));
    const int strip = (fits ? 1 : int(m_rows.size())) * metrics.lineSpacing() + font.pixelSize();
    m_values->setGeometry(0, height() - strip, width(), strip);
    if (!m_figure || m_figure->parent() != this)
        return;
    const QSize units = m_figure->unitSize();
    if (units.isEmpty())
        return;
    const double zoom = std::max(
        1.0, std::min(double(width()) / units.width(), double(height() - strip) / units.height()));
    if (zoom != m_figure->zoom())
        m_figure->setZoom(zoom);
    m_figure->move((width() - m_figure->width()) / 2,
                   std::max(0, (height() - strip - m_figure->height()) / 2));
    if (onLayout)
        onLayout();
}
