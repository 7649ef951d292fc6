// The figure alone on the whole screen, for a projector, with the images' values along its
// bottom edge. The main window lends it its figure while it is shown.
#pragma once

#include <QPointer>
#include <QRgb>
#include <QWidget>
#include <functional>

class FigureView;
class QLabel;

class ProjectionScreen : public QWidget
{
    Q_OBJECT
public:
    explicit ProjectionScreen(QWidget *owner);

    // Takes the figure, enlarged to fill the screen above the values.
    void showFigure(FigureView *figure);
    FigureView *figure() const { return m_figure; }
    QLabel *values() const { return m_values; }
    // The values, one row for each image, on the figure's own background: in one line when
    // it fits the screen's width.
    void setValues(const QStringList &rows, QRgb back);

    std::function<void()> onLayout; // the figure took a new size
    std::function<void()> onLeave; // Escape, or the window closed

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void layOut();

    QPointer<FigureView> m_figure;
    QLabel *m_values = nullptr;
    QStringList m_rows;
};
