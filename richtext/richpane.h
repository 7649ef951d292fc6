// The exercise pane's text control. Beside text it takes pictures, pasted or dropped: the figure
// copied with « Copier », a screenshot, an image file. They show in the answer and are saved with
// it in the RTF.
#pragma once

#include <QTextEdit>

class RichPane : public QTextEdit
{
    Q_OBJECT
public:
    explicit RichPane(QWidget *parent = nullptr);

    // Puts the picture at the cursor, no wider than the text.
    void insertPicture(const QImage &picture);

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};
