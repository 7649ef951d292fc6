#include "output/confimp.h"

#include "output/impression.h"
#include "output/printhost.h"
#include "output/updown.h"
#include "platform/controlplace.h"
#include "platform/helpviewer.h"
#include "platform/msgbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>

namespace {

using controlplace::place;

QLabel *label(QWidget *owner, const QString &name, const QString &text, const QRect &geometry)
{
    return place(new QLabel(text, owner), name, text, geometry);
}

} // namespace

Confimp::Confimp(PrintHost &host, QWidget *parent)
    : QDialog(parent ? parent : host.mainWindow())
    , host(host)
{
    setObjectName(QStringLiteral("confimp"));
    setWindowTitle(QStringLiteral("Imprimer"));
    setAccessibleName(QStringLiteral("Imprimer"));
    setFixedSize(376, 221);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);

    Label2 = label(this, QStringLiteral("Label2"), QStringLiteral("Imprimante:"),
                   QRect(8, 18, 65, 17));
    defaut = place(new QLabel(this), QStringLiteral("defaut"), QString(), QRect(80, 16, 177, 19));
    defaut->setAccessibleDescription(QStringLiteral("Imprimante"));
    buildOptions();
    buildButtons();
    buildWaitNotice();
    Form_Load();
}

void Confimp::buildOptions()
{
    Frame1 = place(new QGroupBox(QStringLiteral("Options"), this), QStringLiteral("Frame1"),
                   QStringLiteral("Options"), QRect(16, 40, 257, 169));
    Label5 = label(Frame1, QStringLiteral("Label5"), QStringLiteral("Titre de la page :"),
                   QRect(20, 24, 120, 13)); // wider than designed: the colon fits
    Text1 = place(new QLineEdit(QStringLiteral("Lumivera - Optalis"), Frame1),
                  QStringLiteral("Text1"), QStringLiteral("Titre de la page"),
                  QRect(16, 40, 217, 19));
    Label5->setBuddy(Text1);
    const QString chec[2] = {QStringLiteral("Centrrer l'image horizontalement"),
                             QStringLiteral("Centrrer l'image verticalement")};
    for (int i = 0; i < 2; ++i)
        Chec[size_t(i)]
            = place(new QCheckBox(chec[i], Frame1), QStringLiteral("Chec_%1").arg(i), chec[i],
                    QRect(24, 80 + 24 * i, 217, 13)); // the whole caption shows
    Label3 = label(Frame1, QStringLiteral("Label3"), QStringLiteral("Nombre d'exemplaires :"),
                   QRect(16, 136, 113, 17));
    Label4 = place(new QLabel(QStringLiteral("1"), Frame1), QStringLiteral("Label4"),
                   QStringLiteral("1"), QRect(136, 134, 41, 17));
    Label4->setAccessibleDescription(QStringLiteral("Nombre d'exemplaires"));
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    UpDown1 = place(new UpDown(Frame1), QStringLiteral("UpDown1"),
                    QStringLiteral("Nombre d'exemplaires"), QRect(176, 134, 16, 19));
    UpDown1->setRange(1, kMaxCopies);
    UpDown1->setValue(1);
    Label3->setBuddy(UpDown1);
    connect(UpDown1, &UpDown::valueChanged, this, &Confimp::UpDown1_Change);
}

void Confimp::buildButtons()
{
    const auto button = [this](const QString &name, const QString &text, const QRect &geometry) {
        auto *b = place(new QPushButton(text, this), name, QString(text).remove(QLatin1Char('&')),
                        geometry);
        b->setAutoDefault(false);
        return b;
    };
    Command2
        = button(QStringLiteral("Command2"), QStringLiteral("&Imprimantes"), QRect(288, 8, 73, 57));
    Command3
        = button(QStringLiteral("Command3"), QStringLiteral("&Annuler"), QRect(288, 80, 73, 57));
    Command1 = button(QStringLiteral("Command1"), QStringLiteral("&OK"), QRect(288, 152, 73, 57));
    connect(Command2, &QPushButton::clicked, this, &Confimp::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);
    connect(Command1, &QPushButton::clicked, this, &Confimp::Command1_Click);
}

void Confimp::buildWaitNotice()
{
    Frame2 = place(new QFrame(this), QStringLiteral("Frame2"),
                   QStringLiteral("Impression en cours"), QRect(16, 72, 345, 57));
    Frame2->setFrameShape(QFrame::Box);
    auto *icon = place(new QLabel(Frame2), QStringLiteral("Image1"), QStringLiteral("Imprimante"),
                       QRect(12, 12, 32, 32));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    Label1
        = label(Frame2, QStringLiteral("Label1"),
                QStringLiteral("Veuillez patienter quelques instants..."), QRect(56, 24, 273, 17));
    Frame2->hide();
}

void Confimp::Form_Load()
{
    if (QWidget *main = host.mainWindow()) {
        const QRect m = main->window()->frameGeometry();
        move(m.left() + (m.width() - width()) / 2, m.top() + 20);
    }
    defaut->setText(impression::deviceName(host.printer()));
    defaut->setAccessibleName(defaut->text());
    defaut->setToolTip(host.printer().outputFileName());
}

void Confimp::UpDown1_Change()
{
    Label4->setText(QString::number(UpDown1->value()));
    Label4->setAccessibleName(Label4->text());
    UpDown1->setAccessibleDescription(Label4->text());
}

void Confimp::Command2_Click()
{
    QPrintDialog setup(&host.printer(), this);
    setup.setObjectName(QStringLiteral("CommonDialog1"));
    // Only the printer and its settings are chosen here; the copies and pages are this
    // dialog's business.
    setup.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (auto *box = setup.findChild<QDialogButtonBox *>())
        if (QPushButton *ok = box->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    if (setup.exec() == QDialog::Accepted)
        Form_Load();
}

void Confimp::Command1_Click()
{
    QPrinter &printer = host.printer();
    if (!impression::usable(printer)) {
        msgbox::show(this,
                     QStringLiteral("Aucune imprimante n'est disponible. Choisissez une "
                                    "imprimante ou l'impression dans un fichier PDF avec le "
                                    "bouton \"Imprimantes\"."),
                     QStringLiteral("Imprimer"), msgbox::Icon::Warning);
        reject();
        return;
    }
    for (QWidget *w : std::initializer_list<QWidget *> {Command1, Command2, Command3, Frame1})
        w->hide();
    Frame2->show();
    repaint();
    impression::Job job;
    job.title = Text1->text();
    job.copies = UpDown1->value();
    job.centreH = Chec[0]->isChecked();
    job.centreV = Chec[1]->isChecked();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const impression::Result result = impression::print(printer, host.drawing(), job);
    QApplication::restoreOverrideCursor();
    if (result == impression::Result::Failed)
        msgbox::show(this,
                     QStringLiteral("L'impression n'a pas pu se faire : vérifiez l'imprimante "
                                    "choisie et recommencez."),
                     QStringLiteral("Imprimer"), msgbox::Icon::Critical);
    accept();
}

void Confimp::showHelp(const QString &helpFile)
{
    helpviewer::showFinder(host.mainWindow(), helpFile);
}

void Confimp::done(int result)
{
    if (!unloaded) {
        unloaded = true;
        host.unloadFigure();
    }
    QDialog::done(result);
}
