#include "platform/helpviewer.h"

#include "platform/msgbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace helpviewer {
namespace {

    struct Topic
    {
        QString title;
        QString anchor;
    };

    QList<Topic> topicsOf(const QString &html)
    {
        QList<Topic> topics;
        static const QRegularExpression heading(
            QStringLiteral("<h([23]) id=\"([^\"]+)\">(.*?)</h\\1>"));
        for (auto it = heading.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            QTextDocument plain;
            plain.setHtml(m.captured(3));
            const QString indent
                = m.captured(1) == QLatin1String("3") ? QStringLiteral("    ") : QString();
            topics.append({indent + plain.toPlainText(), m.captured(2)});
        }
        return topics;
    }

    class HelpWindow : public QWidget
    {
    public:
        HelpWindow(const QString &html, const QString &folder, QWidget *parent)
            : QWidget(parent, Qt::Window)
        {
            setObjectName(QStringLiteral("aide"));
            setWindowTitle(QStringLiteral("Aide d'Optalis"));
            setAccessibleName(QStringLiteral("Aide"));
            setAttribute(Qt::WA_DeleteOnClose);
            resize(820, 540);

            auto *tabs = new QTabWidget(this);
            tabs->setObjectName(QStringLiteral("onglets"));
            tabs->setMinimumWidth(270);
            const QList<Topic> topics = topicsOf(html);

            auto *contents = new QListWidget;
            contents->setObjectName(QStringLiteral("sommaire"));
            contents->setAccessibleName(QStringLiteral("Sommaire"));
            for (const Topic &t : topics) {
                auto *item = new QListWidgetItem(t.title, contents);
                item->setData(Qt::UserRole, t.anchor);
            }
            tabs->addTab(contents, QStringLiteral("Sommaire"));

            auto *index = new QListWidget;
            index->setObjectName(QStringLiteral("index"));
            index->setAccessibleName(QStringLiteral("Index"));
            for (const Topic &t : topics) {
                auto *item = new QListWidgetItem(t.title.trimmed(), index);
                item->setData(Qt::UserRole, t.anchor);
            }
            index->sortItems();
            tabs->addTab(index, QStringLiteral("Index"));

            auto *searchPage = new QWidget;
            auto *searchLayout = new QVBoxLayout(searchPage);
            auto *words = new QLineEdit;
            words->setObjectName(QStringLiteral("mots"));
            words->setAccessibleName(QStringLiteral("Mots à rechercher"));
            words->setPlaceholderText(QStringLiteral("Mots à rechercher"));
            auto *find = new QPushButton(QStringLiteral("&Rechercher"));
            find->setObjectName(QStringLiteral("rechercher"));
            auto *result = new QLabel;
            result->setObjectName(QStringLiteral("resultat"));
            result->setWordWrap(true);
            searchLayout->addWidget(words);
            searchLayout->addWidget(find);
            searchLayout->addWidget(result);
            searchLayout->addStretch();
            const int searchTab = tabs->addTab(searchPage, QStringLiteral("Rechercher"));
            // Choosing the page is choosing to type the words.
            connect(tabs, &QTabWidget::currentChanged, words, [words, searchTab](int tab) {
                if (tab == searchTab)
                    words->setFocus();
            });

            browser = new QTextBrowser;
            browser->setObjectName(QStringLiteral("texte"));
            browser->setAccessibleName(QStringLiteral("Texte de l'aide"));
            // Pictures of the help are named relative to the help file.
            browser->setSearchPaths({folder});
            browser->setHtml(html);

            auto *layout = new QHBoxLayout(this);
            layout->addWidget(tabs, 1);
            layout->addWidget(browser, 2);

            const auto go = [this](QListWidgetItem *item) {
                browser->scrollToAnchor(item->data(Qt::UserRole).toString());
            };
            connect(contents, &QListWidget::itemActivated, this, go);
            connect(contents, &QListWidget::itemClicked, this, go);
            connect(index, &QListWidget::itemActivated, this, go);
            connect(index, &QListWidget::itemClicked, this, go);
            // Each search goes on from the last occurrence, and starts again at the top.
            const auto search = [this, words, result] {
                const QString wanted = words->text().trimmed();
                if (wanted.isEmpty()) {
                    result->clear();
                    return;
                }
                bool found = browser->find(wanted);
                if (!found) {
                    browser->moveCursor(QTextCursor::Start);
                    found = browser->find(wanted);
                }
                result->setText(
                    found ? QString()
                          : QStringLiteral("« %1 » ne figure pas dans l'aide.").arg(wanted));
            };
            connect(find, &QPushButton::clicked, this, search);
            connect(words, &QLineEdit::returnPressed, this, search);
        }

    private:
        QTextBrowser *browser = nullptr;
    };

    QPointer<HelpWindow> g_window;

} // namespace

void showFinder(QWidget *parent, const QString &helpFile)
{
    const QFileInfo named(helpFile);
    QFile file(named.dir().filePath(named.completeBaseName() + QStringLiteral(".html")));
    if (!file.open(QIODevice::ReadOnly)) {
        msgbox::show(
            parent,
            QStringLiteral("Impossible d'ouvrir le fichier d'aide %1.").arg(named.fileName()),
            QStringLiteral("Aide"), msgbox::Icon::Warning);
        return;
    }
    const QString html = QString::fromUtf8(file.readAll());
    if (!g_window)
        g_window = new HelpWindow(html, named.absolutePath(), parent);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
}

} // namespace helpviewer
