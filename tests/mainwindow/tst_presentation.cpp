#include "mainwindow/presentation.h"

#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

class TestPresentation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void textAndCaret();
    void blueRunsAreTheFivePiecesAndTitle();
    void paragraphLook_data();
    void paragraphLook();

private:
    QTextEdit *pane = nullptr;
};

namespace {
const QString kBreak = QStringLiteral("\r\n");

// Pane text with paragraph ends written back as CR LF, as the pieces count them.
QString paneText(const QTextEdit *pane)
{
    return pane->toPlainText().replace(QLatin1Char('\n'), kBreak);
}
} // namespace

void TestPresentation::init()
{
    pane = new QTextEdit;
    pane->setPlainText(QStringLiteral("ancien texte"));
    presentation(pane);
}

void TestPresentation::cleanup()
{
    delete pane;
    pane = nullptr;
}

void TestPresentation::textAndCaret()
{
    const QString text = paneText(pane);
    QVERIFY(text.startsWith(QStringLiteral("Optalis") + kBreak + kBreak
                            + QStringLiteral("Cette application")));
    QVERIFY(text.endsWith(QStringLiteral("dans le menu Exercices.")));
    QString all;
    for (const IntroPiece &p : textintro())
        all += p.text;
    QCOMPARE(text, all);
    QCOMPARE(pane->textCursor().position(), 0);
    QVERIFY(!pane->textCursor().hasSelection());
    QVERIFY(pane->isReadOnly());
    QVERIFY(!pane->isHidden());
}

void TestPresentation::blueRunsAreTheFivePiecesAndTitle()
{
    QString expected;
    for (const IntroPiece &p : textintro())
        if (p.style == 1 || p.style == 6 || p.style == 9)
            expected += QString(p.text).remove(kBreak);
    QString blue;
    for (QTextBlock b = pane->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.charFormat().foreground().color() == QColor(0, 0, 200))
                blue += frag.text();
            else
                QCOMPARE(frag.charFormat().foreground().color(), QColor(0, 0, 0));
        }
    QCOMPARE(blue, expected);
}

void TestPresentation::paragraphLook_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<int>("indent");
    QTest::addColumn<double>("points");
    QTest::newRow("title") << 0 << true << 0 << 18.0;
    QTest::newRow("first paragraph") << 2 << false << 20 << 10.0;
    QTest::newRow("last paragraph") << 12 << false << 20 << 10.0;
}

void TestPresentation::paragraphLook()
{
    QFETCH(int, block);
    QFETCH(bool, centred);
    QFETCH(int, indent);
    QFETCH(double, points);
    const QTextBlock b = pane->document()->findBlockByNumber(block);
    QVERIFY(b.isValid());
    QCOMPARE(bool(b.blockFormat().alignment() & Qt::AlignHCenter), centred);
    QCOMPARE(int(b.blockFormat().leftMargin()), indent);
    QCOMPARE(b.begin().fragment().charFormat().fontPointSize(), points);
    QCOMPARE(b.begin().fragment().charFormat().fontFamilies().toStringList().value(0),
             QStringLiteral("Arial"));
}

QTEST_MAIN(TestPresentation)
#include "tst_presentation.moc"
