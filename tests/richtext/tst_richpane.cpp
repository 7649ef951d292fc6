// Pictures pasted or dropped into the exercise pane: shown at a size that fits, kept when the
// answer is saved as RTF, and never mistaken for another picture of the text.
#include "richtext/richpane.h"
#include "richtext/richtext.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextFragment>
#include <QtTest>

namespace {

QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setPen(Qt::yellow);
    p.drawLine(0, height / 2, width - 1, height / 2);
    return image;
}

// The image formats of the document, in order.
QList<QTextImageFormat> pictures(const QTextDocument *doc)
{
    QList<QTextImageFormat> found;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                found.append(it.fragment().charFormat().toImageFormat());
    return found;
}

} // namespace

class TestRichPane : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void pastedPictureFitsAndIsSaved_data();
    void pastedPictureFitsAndIsSaved();
    void droppedFiles_data();
    void droppedFiles();
    void readOnlyPaneTakesNothing();
    void namesNeverClash();

private:
    std::unique_ptr<RichPane> pane;
};

void TestRichPane::init()
{
    pane = std::make_unique<RichPane>();
    pane->resize(361, 206); // the pane's place on the main window
    pane->show();
    QVERIFY(QTest::qWaitForWindowExposed(pane.get()));
}

void TestRichPane::pastedPictureFitsAndIsSaved_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("reduced");
    QTest::newRow("small picture at its size") << QSize(120, 40) << false;
    QTest::newRow("the figure, wider than the pane") << QSize(784, 265) << true;
}

void TestRichPane::pastedPictureFitsAndIsSaved()
{
    QFETCH(QSize, size);
    QFETCH(bool, reduced);
    pane->setPlainText(QStringLiteral("Ma figure : "));
    pane->moveCursor(QTextCursor::End);
    auto *mime = new QMimeData;
    mime->setImageData(picture(size.width(), size.height()));
    QGuiApplication::clipboard()->setMimeData(mime);
    pane->paste();

    const QList<QTextImageFormat> found = pictures(pane->document());
    QCOMPARE(found.size(), 1);
    const QTextImageFormat shown = found.first();
    QVERIFY(shown.width() <= pane->viewport()->width());
    QCOMPARE(shown.width() < size.width(), reduced);
    QCOMPARE(qRound(shown.width() * size.height() / size.width()), qRound(shown.height()));
    QCOMPARE(pane->toPlainText().left(12), QStringLiteral("Ma figure : "));

    // Saved with the answer, at the size it was shown.
    const QByteArray rtf = richtext::writeRtf(pane->document());
    QVERIFY(rtf.contains("\\pngblip"));
    QTextDocument back;
    QVERIFY(richtext::readRtf(rtf, &back));
    const QList<QTextImageFormat> read = pictures(&back);
    QCOMPARE(read.size(), 1);
    QVERIFY(qAbs(read.first().width() - shown.width()) < 1);
    const QImage kept = qvariant_cast<QImage>(
        back.resource(QTextDocument::ImageResource, QUrl(read.first().name())));
    QCOMPARE(kept.size(), size);
}

void TestRichPane::droppedFiles_data()
{
    QTest::addColumn<QStringList>("files"); // written in a fresh folder
    QTest::addColumn<int>("inserted");
    QTest::newRow("one picture") << QStringList {"figure.png"} << 1;
    QTest::newRow("two pictures") << QStringList {"a.png", "b.jpg"} << 2;
    QTest::newRow("a text file: its name as text") << QStringList {"notes.txt"} << 0;
    QTest::newRow("a picture and a text file: as text") << QStringList {"a.png", "notes.txt"} << 0;
}

void TestRichPane::droppedFiles()
{
    QFETCH(QStringList, files);
    QFETCH(int, inserted);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QList<QUrl> urls;
    for (const QString &name : files) {
        const QString path = dir.filePath(name);
        if (name.endsWith(QLatin1String(".txt"))) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("pas une image");
        } else {
            QVERIFY(picture(30, 20).save(path));
        }
        urls.append(QUrl::fromLocalFile(path));
    }
    auto *mime = new QMimeData;
    mime->setUrls(urls);
    QGuiApplication::clipboard()->setMimeData(mime);
    pane->paste();
    QCOMPARE(pictures(pane->document()).size(), inserted);
    if (inserted > 0) {
        // One step to undo.
        pane->undo();
        QCOMPARE(pictures(pane->document()).size(), 0);
    }
}

void TestRichPane::readOnlyPaneTakesNothing()
{
    pane->setPlainText(QStringLiteral("Énoncé"));
    pane->setReadOnly(true);
    auto *mime = new QMimeData;
    mime->setImageData(picture(50, 50));
    QGuiApplication::clipboard()->setMimeData(mime);
    pane->paste();
    QCOMPARE(pictures(pane->document()).size(), 0);
    QCOMPARE(pane->toPlainText(), QStringLiteral("Énoncé"));
}

// A text read from a file names its pictures too: a pasted one must not take their place.
void TestRichPane::namesNeverClash()
{
    QTextDocument source;
    source.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("x")), picture(10, 10));
    QTextCursor(&source).insertImage(QStringLiteral("x"));
    QVERIFY(richtext::readRtf(richtext::writeRtf(&source), pane->document()));
    pane->moveCursor(QTextCursor::End);
    pane->insertPicture(picture(11, 10));
    pane->insertPicture(picture(12, 10));
    const QList<QTextImageFormat> found = pictures(pane->document());
    QCOMPARE(found.size(), 3);
    QSet<QString> names;
    for (int i = 0; i < 3; ++i) {
        names.insert(found[i].name());
        const QImage shown = qvariant_cast<QImage>(
            pane->document()->resource(QTextDocument::ImageResource, QUrl(found[i].name())));
        QCOMPARE(shown.width(), 10 + i);
    }
    QCOMPARE(names.size(), 3);
}

QTEST_MAIN(TestRichPane)
#include "tst_richpane.moc"
