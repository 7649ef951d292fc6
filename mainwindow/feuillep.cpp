#include "mainwindow/feuillep.h"

#include "calculator/machine.h"
#include "config/recordfile.h"
#include "exercises/exomessages.h"
#include "exercises/exotexts.h"
#include "mainwindow/controls.h"
#include "mainwindow/draghandle.h"
#include "mainwindow/feuillepconfig.h"
#include "mainwindow/feuillepexo.h"
#include "mainwindow/feuillepoutput.h"
#include "mainwindow/figureview.h"
#include "mainwindow/icons.h"
#include "mainwindow/onglets.h"
#include "mainwindow/panels.h"
#include "mainwindow/presentation.h"
#include "mainwindow/testpos.h"
#include "platform/msgbox.h"
#include "platform/numbers.h"
#include "platform/sharedvalues.h"
#include "richtext/richpane.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextEdit>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace {
const int kZoomTable[13] = {50, 60, 70, 80, 90, 100, 200, 300, 400, 500, 1000, 2000, 5000};
constexpr int kExchangeRunning = 11;
constexpr int kExchangeRequest = 31;

struct ButtonDef
{
    QToolButton *FeuilleP::*member;
    const char *name;
    const char *caption;
    const char *tooltip;
    const char *hint;
    QIcon (*icon)();
    int left, width;
};

const ButtonDef kButtons[] = {
    {&FeuilleP::Command2, "Command2", "&Ouvrir", "Retrouver une configuration",
     "Pour retrouver une situation enregistrée", icons::open, 0, 113},
    {&FeuilleP::Command11, "Command11", "&Enregistrer", "Enregistrer la configuration actuelle",
     "Enregistrer les paramètres en cours", icons::save, 112, 113},
    {&FeuilleP::Command4, "Command4", "Co&pier", "Placer l'image dans le presse-papiers",
     "Copier pour placer l'image dans le presse- papiers puis coller depuis Word, Paint...",
     icons::copy, 224, 113},
    {&FeuilleP::Command10, "Command10", "&Imprimer", "Imprimer l'image",
     "Configurer l'imprimante et imprimer l'image", icons::print, 336, 113},
    {&FeuilleP::Command8, "Command8", "&Calculatrice", "Machine à calculer",
     "Afficher la machine à calculer", icons::calculator, 448, 113},
    {&FeuilleP::Command7, "Command7", "&Aide", "Aide pour utiliser cette application",
     "Si vous rencontrez une difficulté avec cette application", icons::help, 560, 113},
    {&FeuilleP::Command1, "Command1", "&Fermer", "Quitter cette application",
     "Pour retrouver le module principal et quitter cette application", icons::close, 672, 129},
};

const char *const kCheckCaptions[18] = {
    "Prolonger les rayons",
    "Rayon passant par O",
    "Afficher les images",
    "Afficher tous les rayons issus de B",
    "Changer de couleur à chaque réflexion",
    "Afficher tous les rayons",
    "Utiliser un miroir secondaire et une lentille convergente",
    "Afficher les foyers",
    "Représenter les rayons extérieurs à la lentille",
    "Sens de propagation",
    "Rayon passant par O",
    "Afficher les images virtuelles",
    "Fond blanc",
    "Rayon incident passant par F",
    "Rayon incident parallèle à l'axe",
    "Rayon incident passant par F",
    "Rayon incident parallèle à l'axe",
    "Graduer les axes",
};

// Boxes ticked when the program starts: the three classical rays, the images and the foci.
constexpr int kTickedAtStart[] = {1, 2, 7, 11, 13, 14};

const char *const kFieldNames[9] = {
    "Position du miroir sphérique (cm)", "Distance focale du miroir sphérique (cm)",
    "Position du miroir plan (cm)",      "Distance focale de la lentille (cm)",
    "Position de l'objet (cm)",          "Hauteur de l'objet (cm)",
    "Diamètre de la monture (cm)",       "Copie du diamètre de la monture (cm)",
    "Position de la lentille (cm)",
};

const char *const kImageLabelMeanings[6] = {
    "Position de l'image A'B'",        "Hauteur de l'image A'B'",
    "Position de l'image A'1B'1",      "Hauteur de l'image A'1B'1",
    "Position de l'image finale A2B2", "Hauteur de l'image finale A2B2",
};

struct HandleDef
{
    const char *name;
    const char *accessible; // followed by the element's position
    const char *hint;
    const char *keys; // what the arrow keys do
    const char *step; // the history step a move makes
    int field;
};
const HandleDef kHandles[4] = {
    {"AB", "Objet AB", "Vous pouvez utiliser la souris pour déplacer l'objet",
     "Flèches gauche et droite : déplacer l'objet", "le déplacement de l'objet", 4},
    {"L1", "Miroir sphérique", "Vous pouvez utiliser la souris pour déplacer ce miroir",
     "Flèches gauche et droite : déplacer le miroir", "le déplacement du miroir sphérique", 0},
    {"L2", "Miroir plan", "Vous pouvez utiliser la souris pour déplacer le miroir",
     "Flèches gauche et droite : déplacer le miroir", "le déplacement du miroir plan", 2},
    {"L3", "Lentille", "Vous pouvez utiliser la souris pour déplacer cette lentille",
     "Flèches haut et bas : déplacer la lentille", "le déplacement de la lentille", 8},
};

// What applying each field changes, as the history names it.
const char *const kFieldSteps[9] = {
    "la saisie de la position du miroir sphérique",
    "la saisie de la distance focale du miroir sphérique",
    "la saisie de la position du miroir plan",
    "la saisie de la distance focale de la lentille",
    "la saisie de la position de l'objet",
    "la saisie de la hauteur de l'objet",
    "la saisie du diamètre de la monture",
    "la saisie du diamètre de la monture",
    "la saisie de la position de la lentille",
};

const char *const kScrollSteps[3] = {
    "le déplacement des flèches sur les rayons",
    "le changement du diamètre de la monture",
    "le changement du diamètre apparent",
};
constexpr int kHandleWidth = 10;
constexpr int kProjectionReach = 6; // canvas units added around each handle

bool isExerciseButtonPress(const QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress)
        return static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton;
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

QString tr8(const char *text)
{
    return QString::fromUtf8(text);
}

QString boxStep(const QString &caption)
{
    return QStringLiteral("la case « %1 »").arg(caption);
}

// A plain widget is announced as a filler: the main window is a frame, named by its caption.
QAccessibleInterface *mainWindowAccessible(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (className != QLatin1String("FeuilleP") || !widget || !widget->isWindow())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}
} // namespace

// One user gesture for the history, from construction to destruction.
class FeuilleP::Gesture
{
public:
    Gesture(FeuilleP &window, const QString &label, const QString &run = {})
        : w(window)
        , run(run)
    {
        w.beginGesture(label);
    }
    ~Gesture() { w.endGesture(run); }
    Gesture(const Gesture &) = delete;
    Gesture &operator=(const Gesture &) = delete;

private:
    FeuilleP &w;
    QString run;
};

FeuilleP::FeuilleP(SharedValues &shared, const QString &programDir, const QString &exchangeDir,
                   QWidget *parent)
    : QWidget(parent)
    , sv(shared)
    , progDir(programDir)
    , exchDir(exchangeDir.isEmpty() ? programDir : exchangeDir)
{
    static const bool announced = (QAccessible::installFactory(mainWindowAccessible), true);
    Q_UNUSED(announced);
    setObjectName(QStringLiteral("feuilleP"));
    setWindowTitle(QStringLiteral("Optalis"));
    setMouseTracking(true);
    resize(791, 546);
    createButtons();
    Picture2 = new FigureView(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setAccessibleName(QStringLiteral("Figure"));
    Picture2->setAccessibleDescription(
        QStringLiteral("Miroir sphérique, objet et image construite"));
    Picture2->setGeometry(8, 48, 775, 265);
    setHint(Picture2,
            QStringLiteral("Vous pouvez déplacer les objets avec la souris et agrandir cette "
                           "fenêtre"));
    Command5 = new QToolButton(Picture2);
    Command5->setObjectName(QStringLiteral("Command5"));
    Command5->setGeometry(761, 0, 19, 19);
    Command5->setIconSize(QSize(15, 15));
    Command5->setIcon(icons::enlarge());
    Command5->setToolTip(QStringLiteral("Agrandir"));
    Command5->setAccessibleName(Command5->toolTip());
    Command5->setFocusPolicy(Qt::TabFocus);
    connect(Command5, &QToolButton::clicked, this, &FeuilleP::Command5_Click);
    setHint(Command5, QStringLiteral("Cliquer pour agrandir la fenêtre"));
    createHandles();
    Onglets = new TabStrip(*this, this);
    Onglets->setObjectName(QStringLiteral("Onglets"));
    Onglets->setAccessibleName(QStringLiteral("Onglets des paramètres"));
    Onglets->setGeometry(8, 360, 409, 185);
    // Pressing on the strip or a panel takes the focus, so a typed value is applied then and
    // not while the strip's painting hides the field.
    Onglets->setFocusPolicy(Qt::ClickFocus);
    setHint(Onglets, QStringLiteral("Cliquer sur un onglet pour l'afficher"));
    createTextArea();
    createSceneControls();
    exoHost = std::make_unique<FeuillePExo>(*this, progDir);
    exo = std::make_unique<ExoTexts>(*exoHost);
    Form_Load();
    createHistory();
    createProjection();
}

FeuilleP::~FeuilleP()
{
    // The children go after the members: nothing they do on their way out is recorded.
    disconnect(qApp, nullptr, this, nullptr);
    hist.reset();
}

QString FeuilleP::restText()
{
    return QStringLiteral("Vous pouvez modifier les paramètres,\r\nouvrir une configuration ou "
                          "un exercice");
}

QString FeuilleP::keyboardHint()
{
    return QStringLiteral("Flèches : déplacer, Maj+flèche : 1 cm. Ctrl+Z annule, Ctrl+Y "
                          "rétablit");
}

QString FeuilleP::exchangeFile() const
{
    return QDir(exchDir).filePath(QStringLiteral("TEMPQX.TMP"));
}

void FeuilleP::createButtons()
{
    for (const ButtonDef &def : kButtons) {
        auto *b = new QToolButton(this);
        this->*(def.member) = b;
        b->setObjectName(QLatin1String(def.name));
        b->setText(tr8(def.caption));
        b->setToolTip(tr8(def.tooltip));
        QString accessible = tr8(def.caption);
        accessible.remove(QLatin1Char('&'));
        b->setAccessibleName(accessible);
        b->setAccessibleDescription(tr8(def.tooltip));
        b->setIcon(def.icon());
        b->setIconSize(QSize(20, 20));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setGeometry(def.left, 0, def.width, 41);
        // A click takes the focus, so a value typed in a field is applied before the command.
        b->setFocusPolicy(Qt::StrongFocus);
        setHint(b, tr8(def.hint));
    }
    connect(Command1, &QToolButton::clicked, this, &QWidget::close);
    connect(Command2, &QToolButton::clicked, this, [this] { openConfigDialog(*this); });
    connect(Command11, &QToolButton::clicked, this, [this] { saveConfigDialog(*this); });
    connect(Command7, &QToolButton::clicked, this, &FeuilleP::Command7_Click);
    connect(Command8, &QToolButton::clicked, this, [this] {
        Machine machine(sv, this);
        machine.exec();
    });
    output = std::make_unique<FeuillePOutput>(*this);
    connect(Command4, &QToolButton::clicked, this, [this] { output->Command4_Click(); });
    connect(Command10, &QToolButton::clicked, this, [this] { output->Command10_Click(); });
    menucopie = output->createMenu();
}

void FeuilleP::createTextArea()
{
    info = new StatusLine(this);
    info->setObjectName(QStringLiteral("info"));
    // No fixed name: a screen reader reads the hint itself, and hears each new one.
    info->setAccessibleDescription(QStringLiteral("Ligne d'état"));
    info->setGeometry(120, 320, 233, 33);
    info->setWordWrap(true);
    info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    info->setFont(f);

    fich = new QLineEdit(this);
    fich->setObjectName(QStringLiteral("fich"));
    fich->setAccessibleName(QStringLiteral("Fichier de l'exercice affiché"));
    fich->setGeometry(424, 320, 361, 19);
    fich->setReadOnly(true);
    connect(fich, &QLineEdit::textChanged, this, [this](const QString &text) {
        fich->setCursorPosition(text.size());
        fich->setToolTip(text);
    });

    btexo = new PictureButton(this);
    btexo->setObjectName(QStringLiteral("btexo"));
    btexo->setAccessibleName(QStringLiteral("Exercices"));
    btexo->setAccessibleDescription(
        QStringLiteral("Ouvrir un énoncé, enregistrer le texte, obtenir la correction, imprimer "
                       "ou fermer"));
    btexo->setGeometry(424, 320, 97, 19);
    btexo->setPixmap(icons::exercise());
    btexo->setCursor(Qt::PointingHandCursor);
    setHint(btexo,
            QStringLiteral("Ouvrir un énoncé, enregistrer le texte, obtenir la correction, "
                           "imprimer ou fermer"));

    supertext = new RichPane(this);
    supertext->setObjectName(QStringLiteral("supertext"));
    supertext->setAccessibleName(QStringLiteral("Texte"));
    supertext->setGeometry(424, 339, 361, 206);
    connect(supertext, &QTextEdit::textChanged, this, [this] {
        if (!fich->text().isEmpty())
            sv.textemodif = 1;
    });
}

void FeuilleP::createSceneControls()
{
    const auto panel
        = [this](QWidget *p, const char *name, const char *accessible, const char *hint) {
              p->setObjectName(QLatin1String(name));
              p->setAccessibleName(tr8(accessible));
              p->hide();
              setHint(p, tr8(hint));
              return p;
          };
    Picture3 = panel(new ObjectsPanel(*this, Onglets), "Picture3", "Objets et images",
                     "Positions et dimensions de l'objet et des images");
    Picture1 = panel(new DevicePanel(*this, Onglets), "Picture1", "Dispositif",
                     "Vous pouvez définir les paramètres du dispositif");
    frame2 = panel(new DisplayPanel(*this, Onglets), "frame2", "Affichage",
                   "Les options d'affichage s'appliquent également à l'image copiée ou imprimée.");
    Picture6 = panel(new ConstructionPanel(*this, Onglets), "Picture6", "Construction",
                     "Représentation de la construction de l'image");

    // Each control starts on the panel that shows it.
    constexpr int fieldPanel[9] = {1, 1, 1, 1, 3, 3, 1, 1, 1};
    constexpr int checkPanel[18] = {0, 0, 2, 2, 2, 2, 1, 2, 0, 0, 0, 2, 2, 0, 0, 0, 0, 2};
    QWidget *const panels[4] = {Picture6, Picture1, frame2, Picture3};
    const SceneInputs defaults = SceneInputs::defaults();
    for (int i = 0; i < 9; ++i) {
        auto *t = new QLineEdit(defaults.text[size_t(i)], panels[fieldPanel[i]]);
        t->setObjectName(QStringLiteral("Text1_%1").arg(i));
        t->setAccessibleName(tr8(kFieldNames[i]));
        t->installEventFilter(this);
        Text1[size_t(i)] = t;
        connect(t, &QLineEdit::textChanged, this, [this, i] { Text1_Change(i); });
        connect(t, &QLineEdit::textEdited, this, [this, i] { Text1_Edited(i); });
    }
    for (int i = 0; i < 18; ++i) {
        auto *c = new OptionBox(tr8(kCheckCaptions[i]), panels[checkPanel[i]]);
        c->setObjectName(QStringLiteral("Check1_%1").arg(i));
        c->setAccessibleName(tr8(kCheckCaptions[i]));
        Check1[size_t(i)] = c;
    }
    for (int i : kTickedAtStart)
        Check1[size_t(i)]->setChecked(true);
    for (int i = 0; i < 18; ++i)
        connect(Check1[size_t(i)], &QCheckBox::stateChanged, this, [this, i] { Check1_Click(i); });
    Check2 = new OptionBox(QStringLiteral("Objet à l'infini"), Picture3);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setAccessibleName(QStringLiteral("Objet à l'infini"));
    connect(Check2, &QCheckBox::stateChanged, this, &FeuilleP::Check2_Click);

    const auto scroll = [](QWidget *owner, const char *name, const char *accessible, int min,
                           int max, int value, int large) {
        auto *s = new QScrollBar(Qt::Horizontal, owner);
        s->setObjectName(QLatin1String(name));
        s->setAccessibleName(tr8(accessible));
        s->setRange(min, max);
        s->setValue(value);
        s->setSingleStep(1);
        s->setPageStep(large);
        return s;
    };
    HScroll1 = scroll(Picture6, "HScroll1", "Position des flèches sur les rayons (dixièmes)", 1, 9,
                      4, 1);
    HScroll2 = scroll(Picture1, "HScroll2", "Diamètre de la monture (mm)", 5, 32767, 80, 10);
    HScroll3
        = scroll(Picture3, "HScroll3", "Diamètre apparent (dixièmes de degré)", 1, 300, 100, 10);
    // The arrow position applies when the thumb is released, the others while it moves.
    HScroll1->setTracking(false);
    connect(HScroll1, &QScrollBar::valueChanged, this, &FeuilleP::HScroll1_Change);
    connect(HScroll2, &QScrollBar::valueChanged, this, &FeuilleP::HScroll2_Change);
    connect(HScroll3, &QScrollBar::valueChanged, this, &FeuilleP::HScroll3_Change);

    Combo1 = new QComboBox(frame2);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setAccessibleName(QStringLiteral("Précision des positions"));
    Combo1->hide();
    connect(Combo1, &QComboBox::currentIndexChanged, this, &FeuilleP::Combo1_Click);
    Check1[3]->hide();
    for (int i : {8, 10, 15, 16})
        Check1[size_t(i)]->hide();
    Text1[6]->hide();
    Text1[7]->hide();

    const auto label = [](QWidget *owner, const QString &name, const char *meaning) {
        auto *l = new QLabel(owner);
        l->setObjectName(name);
        l->setAccessibleDescription(tr8(meaning));
        return l;
    };
    Label1 = label(Picture3, QStringLiteral("Label1"), "Diamètre apparent de l'objet");
    Label2 = label(frame2, QStringLiteral("Label2"), "Longueur de l'axe principal");
    Label4 = label(frame2, QStringLiteral("Label4"), "Exposant de la précision des positions");
    for (int i = 0; i < 6; ++i)
        Label3[size_t(i)]
            = label(Picture3, QStringLiteral("Label3_%1").arg(i), kImageLabelMeanings[i]);
    setHint(Label2, QStringLiteral("Modifier l'échelle de représentation"));

    const auto plusMinus
        = [this](const QString &name, const char *caption, const char *accessible) {
              auto *b = new QPushButton(QLatin1String(caption), frame2);
              b->setObjectName(name);
              b->setAccessibleName(tr8(accessible));
              QFont f(QStringLiteral("Arial"));
              f.setPixelSize(16);
              f.setBold(true);
              b->setFont(f);
              return b;
          };
    Command3[0] = plusMinus(QStringLiteral("Command3_0"), "-", "Diminuer la longueur de l'axe");
    Command3[1] = plusMinus(QStringLiteral("Command3_1"), "+", "Augmenter la longueur de l'axe");
    Commandp[0] = plusMinus(QStringLiteral("Commandp_0"), "-", "Moins de décimales");
    Commandp[1] = plusMinus(QStringLiteral("Commandp_1"), "+", "Plus de décimales");
    for (int i = 0; i < 2; ++i) {
        setHint(Command3[size_t(i)], QStringLiteral("Modifier l'échelle de représentation"));
        connect(Command3[size_t(i)], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
        connect(Commandp[size_t(i)], &QPushButton::clicked, this, [this, i] { Commandp_Click(i); });
    }
    projectionBox = new OptionBox(QStringLiteral("Mode projection"), frame2);
    projectionBox->setObjectName(QStringLiteral("projectionBox"));
    projectionBox->setAccessibleName(QStringLiteral("Mode projection"));
    projectionBox->setAccessibleDescription(
        QStringLiteral("Traits épais, grandes étiquettes ; F11 : figure seule en plein écran"));
    placePanelControls(*this);
}

void FeuilleP::createHandles()
{
    for (int i = 0; i < 4; ++i) {
        auto *h = new DragHandle(Picture2);
        h->setObjectName(QLatin1String(kHandles[i].name));
        h->setAccessibleName(tr8(kHandles[i].accessible));
        h->setAccessibleDescription(tr8(kHandles[i].keys));
        h->setGeometry(0, 0, kHandleWidth, 1);
        h->setVisible(i < 2);
        // The plane mirror shows its pointer only near the mirror line.
        if (i != 2)
            h->setCursor(icons::handleCursor(i));
        setHint(h, tr8(kHandles[i].hint));
        handles[size_t(i)] = h;
    }
    handles[0]->onMove = [this](Qt::MouseButtons b, QPoint p) { AB_MouseMove(b, p); };
    handles[1]->onMove = [this](Qt::MouseButtons b, QPoint p) { L1_MouseMove(b, p); };
    handles[2]->onMove = [this](Qt::MouseButtons b, QPoint p) { L2_MouseMove(b, p); };
    handles[3]->onMove = [this](Qt::MouseButtons b, QPoint p) { L3_MouseMove(b, p); };
    for (int i = 0; i < 4; ++i) {
        DragHandle *h = handles[size_t(i)];
        h->onPress = [this, i](Qt::MouseButton b, QPoint p) {
            if (b == Qt::LeftButton)
                startDrag(i);
            if (i == 2)
                L2_MouseDown(b, p);
        };
        h->onRelease = [this, i](Qt::MouseButton b, QPoint) {
            if (i == 2)
                L2_MouseUp();
            if (b == Qt::LeftButton)
                endDrag();
        };
        h->onKey = [this, i](const QKeyEvent &e) { return handleKey(i, e); };
        const auto move = h->onMove;
        h->onMove = [this, move](Qt::MouseButtons b, QPoint p) {
            if (!(b & Qt::LeftButton) && dragging >= 0)
                endDrag(); // the release went elsewhere
            move(b, p);
        };
    }
}

void FeuilleP::setHint(QObject *control, const QString &hint)
{
    control->setProperty("optalisHint", hint);
    control->installEventFilter(this);
    if (auto *w = qobject_cast<QWidget *>(control))
        w->setMouseTracking(true);
}

int FeuilleP::fieldIndex(QObject *watched) const
{
    for (size_t i = 0; i < Text1.size(); ++i)
        if (Text1[i] == watched)
            return int(i);
    return -1;
}

bool FeuilleP::eventFilter(QObject *watched, QEvent *event)
{
    const int field = fieldIndex(watched);
    if (field >= 0
        && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
        && fieldHistoryKey(field, static_cast<QKeyEvent *>(event)))
        return true;
    if (field >= 0 && event->type() == QEvent::KeyPress)
        return Text1_KeyPress(field, static_cast<QKeyEvent *>(event));
    const int bar = watched == HScroll1 ? 0
        : watched == HScroll2           ? 1
        : watched == HScroll3           ? 2
                                        : -1;
    if (bar >= 0
        && (event->type() == QEvent::MouseButtonPress
            || event->type() == QEvent::MouseButtonRelease)) {
        // A whole press on a scroll bar, held on an arrow or dragging the thumb, is one step.
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            if (event->type() == QEvent::MouseButtonPress) {
                beginGesture(tr8(kScrollSteps[bar]));
            } else if (gestureDepth > 0) {
                endGesture();
                if (hist)
                    hist->breakRun();
            }
        }
    }
    if (field >= 0 && event->type() == QEvent::FocusOut) {
        // Leaving the window (a message box, another program) is not leaving the field.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Passing through a field applies nothing: in telescope mode the field limits and the
        // lens correction disagree, and merely tabbing on would move the lens.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
            && Text1[size_t(field)]->isModified())
            Text1_LostFocus(field);
    }
    // The status line is too small for more than the figure's own hint: the keys are told
    // when an element takes the focus.
    if (event->type() == QEvent::FocusIn
        && std::find(handles.begin(), handles.end(), watched) != handles.end())
        info->setText(keyboardHint());
    if (watched == btexo && isExerciseButtonPress(event)) {
        btexo_Click();
        return true;
    }
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        const QString hint = watched->property("optalisHint").toString();
        // The copy confirmation stays while the mouse is on the copy button.
        if (!hint.isEmpty() && !(watched == Command4 && info->text() == sv.msgcopie))
            info->setText(hint);
    }
    return QWidget::eventFilter(watched, event);
}

void FeuilleP::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over child controls that ignore them come here too: only the free background
    // brings back the rest text.
    if (!childAt(event->position().toPoint()))
        info->setText(restText());
    QWidget::mouseMoveEvent(event);
}

void FeuilleP::Form_Load()
{
    writeRecordsAt(exchangeFile(), {{kExchangeRunning, QStringLiteral("OUI")}});
    applyPlacementRule();
    info->setText(restText());
    sv.msgcopie = QStringLiteral("L'image est copiée : vous pouvez la retrouver depuis toute "
                                 "application Windows (coller)");
    sv.fmtnum = QStringLiteral("##############0.0");
    {
        // Filling the list selects nothing, as the precision is chosen at step 11.
        const QSignalBlocker quiet(Combo1);
        Combo1->clear();
        Combo1->addItems({QStringLiteral("-1"), QStringLiteral("-2"), QStringLiteral("-3")});
        Combo1->setCurrentIndex(-1);
    }
    sv.nzoom = 1;
    presentation(supertext);
    update();
    Check1_Click(250);
    Command3_Click(2);
    Combo1->setCurrentIndex(0);
}

void FeuilleP::applyPlacementRule()
{
    if (placing)
        return;
    placing = true;
    QScreen *scr = screen();
    if (scr && scr->geometry().width() > 850 && isWindow()) {
        setWindowState(Qt::WindowNoState);
        const QSize frameExtra = frameGeometry().size() - geometry().size();
        const QSize client = QSize(800, 600) - frameExtra;
        if (size() != client)
            resize(client);
        const QRect g = scr->geometry();
        move(g.left() + (g.width() - 800) / 2, g.top() + (g.height() - 600) / 2);
    }
    // On the full screen the figure has the screen's size.
    if (!fullScreen()) {
        Picture2->resize(width() - 16, Picture2->height());
        Command5->move(Picture2->width() - 23, 0);
    }
    placing = false;
}

void FeuilleP::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    applyPlacementRule();
}

void FeuilleP::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    for (int y = 0; y <= 600; ++y) {
        const int rg = numbers::roundEven(255 - y / 600.0 * 55);
        const int b = numbers::roundEven(255 - y / 600.0 * 75);
        p.setPen(QColor(rg, rg, b));
        p.drawLine(0, y, 800, y);
    }
    // Shadow of the text area: only its right and bottom edges show.
    p.setPen(QColor(128, 128, 128));
    // A stroked QRect is one pixel wider than its size: shrunk, both corners lie on the
    // outline, as on a box drawn by the canvas.
    const QPoint topLeft(supertext->x() + 3, fich->y() + 3);
    const QPoint bottomRight(supertext->x() + supertext->width() + 3,
                             supertext->y() + supertext->height() + 3);
    p.drawRect(QRect(topLeft, bottomRight).adjusted(0, 0, -1, -1));
}

bool FeuilleP::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    // Another window took the mouse: the button's release will not come here.
    if (event->type() == QEvent::WindowDeactivate)
        endDrag();
    // The window manager's borders are known only once the window is on screen: the outer
    // size is made right again then, without waiting for the next resize.
    if (event->type() == QEvent::Move && isWindow() && frameGeometry().size() != size()
        && frameGeometry().size() != QSize(800, 600))
        applyPlacementRule();
    return QWidget::event(event);
}

void FeuilleP::Form_Activate()
{
    Command5->setIcon(icons::enlarge());
    majaff();
    // The launcher's exercise request is read once and emptied.
    QString request;
    readRecordAt(exchangeFile(), kExchangeRequest, &request);
    writeRecordsAt(exchangeFile(), {{kExchangeRequest, QString()}});
    if (!request.trimmed().isEmpty())
        exo->openRequested(request);
    glisseplan = false;
}

void FeuilleP::btexo_Click()
{
    exo->btexo_Click(btexo->mapToGlobal(QPoint(0, btexo->height())));
}

void FeuilleP::Command7_Click()
{
    QString dir = progDir;
    if (!dir.endsWith(QDir::separator()) && !dir.endsWith(QLatin1Char('/')))
        dir += QDir::separator();
    // The figure as drawn stays the canvas's background picture while help is open.
    const QPixmap sauvetage = QPixmap::fromImage(Picture2->canvas().image());
    output->showHelp(dir + QStringLiteral("Qvex.hlp"));
    Picture2->setBackgroundPicture(sauvetage);
}

void FeuilleP::Command5_Click()
{
    if (Picture2->height() == 501) {
        Picture2->resize(Picture2->width(), 265);
        Command5->setIcon(icons::enlarge());
        Command5->setToolTip(QStringLiteral("Agrandir"));
    } else {
        Picture2->resize(Picture2->width(), 501);
        Command5->setIcon(icons::reduce());
        Command5->setToolTip(QStringLiteral("Diminuer"));
    }
    // A screen reader names the action the button now does.
    Command5->setAccessibleName(Command5->toolTip());
    Picture2->raise();
    if (Picture2->isVisible())
        Picture2->setFocus();
    majaff();
}

void FeuilleP::Command3_Click(int index)
{
    const Gesture gesture(*this, QStringLiteral("le changement d'échelle"));
    if (index == 0 && sv.nzoom > 0)
        --sv.nzoom;
    if (index == 1 && sv.nzoom < 12)
        ++sv.nzoom;
    sv.longaxe = int16_t(kZoomTable[sv.nzoom]);
    showScale();
    HScroll2->setMaximum(numbers::roundEven(135.0 / 800.0 * sv.longaxe * 10));
    testpos();
    majaff();
}

void FeuilleP::showScale()
{
    Command3[0]->setEnabled(sv.nzoom > 0);
    Command3[1]->setEnabled(sv.nzoom < 12);
    if (sv.nzoom > 4)
        Label2->setText(numbers::formatGeneral(sv.longaxe / 100.0) + QStringLiteral(" m"));
    else
        Label2->setText(QString::number(sv.longaxe) + QStringLiteral(" cm"));
}

// Returns true when the key is consumed.
bool FeuilleP::Text1_KeyPress(int index, QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Text1_LostFocus(index);
        return true;
    }
    const QString typed = event->text();
    // Delete carries a control character here, yet it types no character: it passes as an
    // editing key. Ctrl shortcuts (select all, copy, cut, paste, undo) keep their meaning;
    // what a paste brings is filtered once it is in.
    if (typed.isEmpty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab
        || event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete
        || (event->modifiers() & Qt::ControlModifier))
        return false; // navigation and editing keys
    const QString kept = numericCharacters(typed);
    if (kept != typed) {
        if (!kept.isEmpty())
            Text1[size_t(index)]->insert(kept);
        return true;
    }
    return false;
}

QString FeuilleP::numericCharacters(const QString &text)
{
    QString kept;
    for (QChar c : text) {
        if (c == QLatin1Char('.'))
            kept += QLatin1Char(',');
        else if ((c.isDigit() && c.unicode() < 128) || c == QLatin1Char(',')
                 || c == QLatin1Char('-'))
            kept += c;
    }
    return kept;
}

// Text that did not come through the key filter (a paste, a drop): what the filter would have
// refused is taken out again.
void FeuilleP::Text1_Edited(int index)
{
    QLineEdit *t = Text1[size_t(index)];
    const QString text = t->text();
    const QString kept = numericCharacters(text);
    if (kept == text)
        return;
    const int cursor = int(numericCharacters(text.left(t->cursorPosition())).size());
    t->setText(kept);
    t->setModified(true); // still the user's own typing, to apply when the field is left
    t->setCursorPosition(cursor);
}

void FeuilleP::Text1_LostFocus(int index)
{
    const Gesture gesture(*this, tr8(kFieldSteps[index]));
    if (numbers::fieldValue(Text1[0]->text()) < 5) {
        msgbox::beep();
        Text1[0]->setText(QStringLiteral("5,0"));
    }
    testpos();
    QLineEdit *field = Text1[size_t(index)];
    field->setText(numbers::formatPattern(numbers::fieldValue(field->text()), sv.fmtnum));
    majaff();
}

void FeuilleP::Text1_Change(int index)
{
    if (index == 6) {
        const double tenths = numbers::fieldValue(Text1[6]->text()) * 10;
        const int v = numbers::roundEven(tenths);
        if (v >= HScroll2->minimum() && v <= HScroll2->maximum())
            HScroll2->setValue(v);
    }
    Text1[7]->setText(Text1[6]->text());
}

void FeuilleP::HScroll2_Change()
{
    const Gesture gesture(*this, tr8(kScrollSteps[1]), QStringLiteral("HScroll2"));
    Text1[6]->setText(numbers::formatGeneral(HScroll2->value() / 10.0));
    testpos();
    majaff();
}

void FeuilleP::Check1_Click(int index)
{
    // Named as the user reads it: the construction boxes show a caption painted beside them.
    const Gesture gesture(
        *this,
        boxStep(index >= 0 && index < 18 ? Check1[size_t(index)]->accessibleName() : QString()));
    if (index == 3 && Check1[3]->isChecked())
        Check1[5]->setCheckState(Qt::Unchecked);
    if (index == 5 && Check1[5]->isChecked())
        Check1[3]->setCheckState(Qt::Unchecked);
    showBoxes();
    if (index == 6) {
        Picture1->repaint();
        QCoreApplication::processEvents();
    }
    majaff();
}

void FeuilleP::showBoxes()
{
    Check1[11]->setEnabled(Check1[2]->isChecked());
    const bool telescope = Check1[6]->isChecked();
    // A drag of a telescope handle ends when the handle goes.
    if (!telescope && dragging >= 2)
        endDrag();
    const std::array<QWidget *, 5> telescopeOnly
        = {handles[2], handles[3], Text1[2], Text1[3], Text1[8]};
    for (QWidget *c : telescopeOnly)
        c->setVisible(telescope);
    if (!telescope)
        Text1[7]->hide();
}

void FeuilleP::Check2_Click()
{
    const Gesture gesture(*this, boxStep(Check2->text()));
    showInfinity();
    testpos();
    majaff();
}

void FeuilleP::showInfinity()
{
    const bool infinity = Check2->isChecked();
    Label1->setVisible(infinity);
    HScroll3->setVisible(infinity);
    Text1[4]->setVisible(!infinity);
    Text1[5]->setVisible(!infinity);
}

void FeuilleP::HScroll1_Change()
{
    const Gesture gesture(*this, tr8(kScrollSteps[0]), QStringLiteral("HScroll1"));
    if (Check1[9]->isChecked())
        majaff();
}

void FeuilleP::HScroll3_Change()
{
    const Gesture gesture(*this, tr8(kScrollSteps[2]), QStringLiteral("HScroll3"));
    majaff();
}

void FeuilleP::Commandp_Click(int index)
{
    const int i = Combo1->currentIndex();
    if (index == 0 && i > 0)
        Combo1->setCurrentIndex(i - 1);
    if (index == 1 && i < 2)
        Combo1->setCurrentIndex(i + 1);
}

void FeuilleP::Combo1_Click()
{
    const Gesture gesture(*this, QStringLiteral("le changement de précision"));
    showPrecision();
    Label4->repaint();
    testpos();
    majaff();
}

void FeuilleP::showPrecision()
{
    static const char *const patterns[3]
        = {"##############0.0", "##############0.00", "##############0.000"};
    const int i = Combo1->currentIndex();
    if (i >= 0 && i <= 2) {
        sv.fmtnum = QLatin1String(patterns[i]);
        Commandp[0]->setEnabled(i > 0);
        Commandp[1]->setEnabled(i < 2);
    }
    Label4->setText(Combo1->currentText());
}

QPointF FeuilleP::onHandle(QPoint pos) const
{
    return QPointF(pos) / Picture2->zoom();
}

QPointF FeuilleP::onCanvas(int handle, QPoint pos) const
{
    return Picture2->toCanvas(handles[size_t(handle)]->pos() + pos);
}

void FeuilleP::dragTo(int field, double value)
{
    int handle = 0;
    while (handle < 3 && kHandles[handle].field != field)
        ++handle;
    // Moves seen without their press still make one step, not one per move.
    const Gesture gesture(*this, tr8(kHandles[handle].step), QStringLiteral("drag %1").arg(handle));
    Text1[size_t(field)]->setText(numbers::formatPattern(value, sv.fmtnum));
    testpos();
    majaff();
}

void FeuilleP::AB_MouseMove(Qt::MouseButtons buttons, QPoint pos)
{
    if (buttons == Qt::LeftButton && sv.echelle != 0)
        dragTo(4, onCanvas(0, pos).x() / sv.echelle);
}

void FeuilleP::L1_MouseMove(Qt::MouseButtons buttons, QPoint pos)
{
    if (buttons == Qt::LeftButton && sv.echelle != 0)
        dragTo(0, onCanvas(1, pos).x() / sv.echelle);
}

void FeuilleP::L3_MouseMove(Qt::MouseButtons buttons, QPoint pos)
{
    if (buttons == Qt::LeftButton && sv.echelle != 0)
        dragTo(8, (onCanvas(3, pos).y() - 135) / sv.echelle);
}

void FeuilleP::L2_MouseMove(Qt::MouseButtons buttons, QPoint pos)
{
    DragHandle *h = handles[2];
    const QPointF at = onHandle(pos);
    const double height = h->height() / Picture2->zoom();
    // The mirror runs through the handle from its bottom-left corner up to the right.
    if (std::abs(at.x() + at.y() - height) < 10)
        h->setCursor(icons::handleCursor(2));
    else if (!glisseplan)
        h->setCursor(Qt::ArrowCursor);
    if (buttons == Qt::LeftButton && glisseplan && sv.echelle != 0)
        dragTo(2, ((at.y() - height / 2) + onCanvas(2, pos).x()) / sv.echelle);
}

void FeuilleP::L2_MouseDown(Qt::MouseButton button, QPoint pos)
{
    const QPointF at = onHandle(pos);
    if (button == Qt::LeftButton
        && std::abs(at.x() + at.y() - handles[2]->height() / Picture2->zoom()) < 10)
        glisseplan = true;
}

void FeuilleP::L2_MouseUp()
{
    glisseplan = false;
}

bool FeuilleP::handleKey(int handle, const QKeyEvent &event)
{
    const bool vertical = handle == 3;
    int direction = 0;
    switch (event.key()) {
    case Qt::Key_Left:
        direction = vertical ? 0 : -1;
        break;
    case Qt::Key_Right:
        direction = vertical ? 0 : 1;
        break;
    case Qt::Key_Up:
        direction = vertical ? -1 : 0;
        break;
    case Qt::Key_Down:
        direction = vertical ? 1 : 0;
        break;
    default:
        break;
    }
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    if (direction == 0 || (mods & ~Qt::ShiftModifier))
        return false;
    // One step of the displayed precision, or a whole centimetre with Shift.
    const int decimals = std::clamp(Combo1->currentIndex() + 1, 1, 3);
    const double step = (mods & Qt::ShiftModifier) ? 1.0 : std::pow(10.0, -decimals);
    const int field = kHandles[handle].field;
    const double value = numbers::fieldValue(Text1[size_t(field)]->text()) + direction * step;
    const Gesture gesture(*this, tr8(kHandles[handle].step), QStringLiteral("keys %1").arg(handle));
    dragTo(field, value);
    return true;
}

void FeuilleP::updateHandleNames()
{
    for (size_t i = 0; i < 4; ++i) {
        const QString name
            = QStringLiteral("%1, position %2 cm")
                  .arg(tr8(kHandles[i].accessible), Text1[size_t(kHandles[i].field)]->text());
        if (handles[i]->accessibleName() != name)
            handles[i]->setAccessibleName(name);
    }
}

void FeuilleP::testpos()
{
    if (redrawHold > 0)
        return;
    ::testpos(Text1, sv.longaxe, sv.fmtnum);
}

SceneInputs FeuilleP::readScene() const
{
    SceneInputs in;
    for (size_t i = 0; i < 9; ++i)
        in.text[i] = Text1[i]->text();
    for (size_t i = 0; i < 18; ++i)
        in.check[i] = Check1[i]->checkState() == Qt::Checked;
    in.check2 = Check2->checkState() == Qt::Checked;
    in.hscroll1 = HScroll1->value();
    in.hscroll3 = HScroll3->value();
    return in;
}

void FeuilleP::majaff()
{
    if (redrawHold > 0)
        return;
    // A hidden canvas gets no resize event; the drawing must still use its current size.
    const QSize units = Picture2->unitSize();
    Picture2->canvas().resize(units.width(), units.height());
    const FigureOutput out = ::majaff(Picture2->canvas(), readScene(), sv);
    if (out.failure != TelescopeFailure::None) {
        // The refused passes' corrections are not kept: the fields stay as the user left them.
        // Clearing the box redraws the figure without the telescope through its handler;
        // setCheckState reaches the handler even from inside the box's own click.
        Check1[6]->setCheckState(Qt::Unchecked);
        // The message box takes the button's release: the drag that led here ends now.
        endDrag();
        glisseplan = false;
        msgbox::show(this,
                     QStringLiteral("Le miroir secondaire ne peut recueillir toute la lumière "
                                    "renvoyée par le miroir sphérique."),
                     QStringLiteral("Configuration impossible"), msgbox::Icon::Critical);
        return;
    }
    // Corrections of the telescope stay in the fields, as the user will see and save them.
    for (const FieldRewrite &r : out.rewrites)
        Text1[size_t(r.index)]->setText(r.text);
    applyFigure(out);
}

void FeuilleP::holdRedraws(bool hold)
{
    redrawHold += hold ? 1 : -1;
}

void FeuilleP::applyFigure(const FigureOutput &out)
{
    Check1[14]->setEnabled(out.check14Enabled);
    if (out.label1Set)
        Label1->setText(out.label1);
    if (!out.drawn)
        return;
    figure = out;
    for (int i = 0; i < 6; ++i) {
        Label3[size_t(i)]->setText(out.label3[size_t(i)]);
        Label3[size_t(i)]->setAccessibleName(out.label3[size_t(i)]);
        Label3[size_t(i)]->setVisible(i < 2 || out.telescope);
    }
    placeHandles();
    updateHandleNames();
    handles[0]->raise();
    handles[1]->raise();
    showProjection();
    Picture2->update();
}

void FeuilleP::placeHandles()
{
    // A projected figure is pointed at from afar: the handles reach further around their
    // element, as much on every side, so that the pointer's place in them keeps its meaning.
    const double zoom = Picture2->zoom();
    const int margin = projecting ? int(std::lround(kProjectionReach * zoom)) : 0;
    const HandlePlace *places[4] = {&figure.ab, &figure.l1, &figure.l2, &figure.l3};
    for (size_t i = 0; i < 4; ++i) {
        DragHandle *h = handles[i];
        const HandlePlace &pl = *places[i];
        if (!pl.visible)
            continue; // the telescope handles' visibility follows the telescope box
        if (pl.width > 0)
            handleWidths[i] = pl.width;
        const QPoint topLeft = Picture2->toWidget(pl.centerX, pl.top);
        const int width = int(std::lround(handleWidths[i] * zoom));
        const int height = std::max(1, int(std::lround(pl.height * zoom)));
        h->setGeometry(topLeft.x() - width / 2 - margin, topLeft.y() - margin, width + 2 * margin,
                       height + 2 * margin);
    }
}

bool FeuilleP::Form_QueryUnload()
{
    if (!exomsg::guard(this, sv))
        return false;
    return msgbox::show(this, QStringLiteral("Quitter vraiment Optalis ?"),
                        QStringLiteral("Fermer"), msgbox::Icon::Question, msgbox::Buttons::OkCancel)
        == msgbox::Answer::Ok;
}

void FeuilleP::Form_Unload()
{
    if (unloaded)
        return;
    unloaded = true;
    writeRecordsAt(exchangeFile(),
                   {{kExchangeRunning, QStringLiteral("NON")}, {kExchangeRequest, QString()}});
    QCoreApplication::quit();
}

void FeuilleP::closeEvent(QCloseEvent *event)
{
    if (unloaded || !Form_QueryUnload()) {
        if (!unloaded)
            event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}
