#include "calculator/machine.h"

#include "calculator/calcnumber.h"
#include "calculator/calcule.h"
#include "platform/msgbox.h"
#include "platform/sharedvalues.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QVBoxLayout>

#include <cmath>

namespace {

const int kWidth = 302;
const int kHeight = 431;
const int kDisplayPoints = 15;

const QString kPatience = QStringLiteral("    Patience... Calculs en cours.     ");
const QString kOverflow = QStringLiteral("Dépassement de capacité");

QString errorMessage(int code)
{
    switch (code) {
    case calc::Parentheses:
        return QStringLiteral("Erreur saisie: revoir les parenthèses");
    case calc::Operateurs:
        return QStringLiteral("Erreur saisie: incompréhension sur opérateurs: ^ * / + -");
    default:
        return QStringLiteral("Calcul impossible");
    }
}

QString fromStd(const std::string &text)
{
    return QString::fromStdString(text);
}

QString standard(double value)
{
    return fromStd(calcnumber::write(value));
}

// The character a key press gives: Backspace is 8 and Enter 13; keys with Ctrl or Alt, and keys
// without a character, give 0.
QChar keyAscii(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return QChar();
    switch (event->key()) {
    case Qt::Key_Backspace:
        return QChar(8);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    default:
        return event->text().size() == 1 ? event->text().at(0) : QChar();
    }
}

// Key areas. The digit pad sits inside the double frame that the background paints.
enum class Zone { Top, Prefixes, Pad, Operators };

QRect zoneRect(Zone zone)
{
    switch (zone) {
    case Zone::Top:
        return QRect(10, 122, 282, 152);
    case Zone::Prefixes:
        return QRect(10, 292, 66, 127);
    case Zone::Pad:
        return QRect(84, 292, 120, 127);
    case Zone::Operators:
        return QRect(211, 292, 81, 127);
    }
    return {};
}

// Cell (col, row) of a grid of `cols` x 4 over the zone, spanning `colSpan` columns.
QRect cell(Zone zone, int cols, int col, int row, int colSpan)
{
    const QRect r = zoneRect(zone);
    const int gapX = zone == Zone::Top ? 5 : 6;
    const int gapY = zone == Zone::Top ? 8 : 5;
    const int rows = 4;
    auto edge = [](int start, int length, int gap, int n, int i) {
        return start + i * (length + gap) / n;
    };
    const int x0 = edge(r.x(), r.width(), gapX, cols, col);
    const int x1 = edge(r.x(), r.width(), gapX, cols, col + colSpan) - gapX;
    const int y0 = edge(r.y(), r.height(), gapY, rows, row);
    const int y1 = edge(r.y(), r.height(), gapY, rows, row + 1) - gapY;
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

const char *const kStyle = R"(
QLineEdit#z1 {
    background: #eef5e2; color: #0d2424;
    border: 2px solid #2d5757; border-radius: 5px; padding: 0px 6px;
}
QGroupBox {
    background: rgba(255, 255, 255, 150); color: #173c3c;
    border: 1px solid #3b6e6e; border-radius: 5px;
    margin-top: 7px; padding-top: 4px; font-family: "Arial"; font-size: 8pt; font-weight: bold;
}
QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0px 3px; }
QRadioButton { font-family: "Arial"; font-size: 8pt; font-weight: normal; color: #0d2424; }
QPushButton {
    font-family: "Arial"; font-size: 8pt; color: #10302f;
    border: 1px solid #3a6564; border-radius: 4px; padding: 0px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7fbfb, stop:1 #cfe3e3);
}
QPushButton:hover { border-color: #0a7c7c; }
QPushButton:focus { border: 2px solid #1d5fbf; }
QPushButton:pressed { background: #a9c9c9; }
QPushButton[role="digit"] {
    font-size: 12pt; font-weight: bold; color: #0d2020;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e4eaea);
}
QPushButton#BtoEXP { font-size: 9pt; }
QPushButton#invsin, QPushButton#invcos, QPushButton#Btoncommande3 { font-size: 7pt; }
QPushButton[role="prefix"] {
    font-size: 10pt; color: #5a4300;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fffbe8, stop:1 #efe2b0);
}
QPushButton[role="operator"] {
    font-size: 13pt; font-weight: bold; color: #0e2a4a;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f3f7fc, stop:1 #c9d8ea);
}
QPushButton[role="memory"] {
    font-weight: bold; color: #3a2a5a;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f8f6fd, stop:1 #dcd6ee);
}
QPushButton[role="function"] { font-size: 9pt; }
QPushButton[role="erase"] {
    font-size: 11pt; font-weight: bold; color: #ffffff;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e0765f, stop:1 #b8442e);
}
QPushButton[role="exe"] {
    font-size: 11pt; font-weight: bold; color: #ffffff;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2f9a9a, stop:1 #0c5f5f);
}
QPushButton[role="erase"]:pressed, QPushButton[role="exe"]:pressed { background: #555555; }
)";

} // namespace

struct Machine::KeyDef
{
    const char *name;
    const char *caption;
    const char *tip; // also what a screen reader says, unless `accessible` is given
    const char *accessible;
    const char *text; // appended text, for keys without a handler of their own
    bool product; // implicit multiplication before the text
    void (Machine::*handler)();
    const char *role;
    Zone zone;
    int cols;
    int col;
    int row;
    int colSpan;
};

Machine::Machine(SharedValues &shared, QWidget *parent)
    : QDialog(parent)
    , shared(shared)
{
    setObjectName(QStringLiteral("Machine"));
    setWindowTitle(QStringLiteral("Machine à calculer"));
    setAccessibleName(QStringLiteral("Machine à calculer"));
    setFixedSize(kWidth, kHeight);
    createDisplay();
    createOptions();
    createKeys();
    setStyleSheet(QLatin1String(kStyle));
    // An access key would click its button only after a short animation, letting the keys
    // typed meanwhile land first: it clicks at once instead.
    for (QAbstractButton *b : findChildren<QAbstractButton *>())
        b->installEventFilter(this);
    z1->setFocus();
}

void Machine::createDisplay()
{
    z1 = new QLineEdit(this);
    z1->setObjectName(QStringLiteral("z1"));
    z1->setAccessibleName(QStringLiteral("Écran de la calculatrice"));
    z1->setGeometry(10, 10, 282, 40);
    z1->setReadOnly(true);
    z1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fitDisplayFont();
    z1->installEventFilter(this);
    connect(z1, &QLineEdit::textChanged, this, &Machine::z1_Change);
}

void Machine::createOptions()
{
    auto group = [this](const char *name, const QString &title, const QRect &geometry,
                        QRadioButton *(&buttons)[2], const char *buttonName, const QString &first,
                        const QString &second) {
        auto *box = new QGroupBox(title, this);
        box->setObjectName(QLatin1String(name));
        box->setAccessibleName(title);
        box->setGeometry(geometry);
        auto *layout = new QVBoxLayout(box);
        layout->setContentsMargins(8, 6, 4, 2);
        layout->setSpacing(0);
        const QString texts[2] = {first, second};
        for (int i = 0; i < 2; ++i) {
            buttons[i] = new QRadioButton(texts[i], box);
            buttons[i]->setObjectName(
                QStringLiteral("%1_%2").arg(QLatin1String(buttonName)).arg(i));
            buttons[i]->setAccessibleName(texts[i]);
            layout->addWidget(buttons[i]);
        }
        buttons[1]->setChecked(true);
    };
    group("Frame1", QStringLiteral("Angles"), QRect(10, 56, 136, 58), angle, "angle",
          QStringLiteral("Degrés"), QStringLiteral("Radians"));
    group("Frame2", QStringLiteral("Affichage"), QRect(156, 56, 136, 58), C, "C",
          QStringLiteral("Scientifique"), QStringLiteral("Standard"));
    for (int i = 0; i < 2; ++i) {
        connect(C[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                C_Click(i);
        });
    }
}

void Machine::createKeys()
{
    using Z = Zone;
    static const KeyDef keys[] = {
        // Functions and memory, above the pad.
        {"bsin", "&SIN", "Sinus", nullptr, "sin ", true, nullptr, "function", Z::Top, 6, 0, 0, 1},
        {"Bcos", "&COS", "Cosinus", nullptr, "cos ", true, nullptr, "function", Z::Top, 6, 1, 0, 1},
        {"Btan", "&TAN", "Tangente", nullptr, "tan ", true, nullptr, "function", Z::Top, 6, 2, 0,
         1},
        {"invsin", "INV S&IN", "Inverse sinus", nullptr, "invSIN ", true, nullptr, "function",
         Z::Top, 6, 3, 0, 1},
        {"invcos", "INV C&OS", "Inverse cosinus", nullptr, "invCOS ", true, nullptr, "function",
         Z::Top, 6, 4, 0, 1},
        {"Btoncommande3", "INV T&AN", "Inverse tangente", nullptr, "invTAN ", true, nullptr,
         "function", Z::Top, 6, 5, 0, 1},
        {"Bln", "l&n", nullptr, "Logarithme népérien", "ln ", true, nullptr, "function", Z::Top, 6,
         0, 1, 1},
        {"Blog", "&Log", nullptr, "Logarithme décimal", "log ", true, nullptr, "function", Z::Top,
         6, 1, 1, 1},
        {"Bexp", "eˣ", nullptr, "Exponentielle", "exp ", true, nullptr, "function", Z::Top, 6, 2, 1,
         1},
        {"B10x", "10ˣ", nullptr, "Dix puissance", "10 ^ ", true, nullptr, "function", Z::Top, 6, 3,
         1, 1},
        {"racine", "√", "Racine carré", "Racine carrée", "SQR ", true, nullptr, "function", Z::Top,
         6, 4, 1, 1},
        {"Command5", "1/x", "Inverse", nullptr, "1 / ", true, nullptr, "function", Z::Top, 6, 5, 1,
         1},
        {"btcarre", "x²", nullptr, "Carré", nullptr, false, &Machine::btcarre_Click, "function",
         Z::Top, 6, 0, 2, 1},
        {"puissance", "xʸ", nullptr, "Puissance", nullptr, false, &Machine::puissance_Click,
         "function", Z::Top, 6, 1, 2, 1},
        {"Bpo", "(", nullptr, "Parenthèse ouvrante", "(", true, nullptr, "function", Z::Top, 6, 2,
         2, 1},
        {"bpf", ")", nullptr, "Parenthèse fermante", ")", false, nullptr, "function", Z::Top, 6, 3,
         2, 1},
        {"pi", "Π", "3.1415927", "Pi", nullptr, false, &Machine::pi_Click, "function", Z::Top, 6, 4,
         2, 1},
        {"ANS", "ANS", "Dernière réponse", nullptr, nullptr, false, &Machine::ANS_Click, "function",
         Z::Top, 6, 5, 2, 1},
        {"Command1", "M+", "Ajouter à la méoire", "Ajouter à la mémoire", nullptr, false,
         &Machine::Command1_Click, "memory", Z::Top, 4, 0, 3, 1},
        {"Command2", "M-", "Soustraire à la mémoire", nullptr, nullptr, false,
         &Machine::Command2_Click, "memory", Z::Top, 4, 1, 3, 1},
        {"Command3", "RM", "Rappel mémoire", nullptr, nullptr, false, &Machine::Command3_Click,
         "memory", Z::Top, 4, 2, 3, 1},
        {"Command4", "CM", "Effacer la mémoire", nullptr, nullptr, false, &Machine::Command4_Click,
         "memory", Z::Top, 4, 3, 3, 1},
        // Multiplier prefixes, left of the pad.
        {"pico", "p", "pico", nullptr, "E-12", false, nullptr, "prefix", Z::Prefixes, 2, 0, 0, 1},
        {"nano", "n", "nano", nullptr, "E-9", false, nullptr, "prefix", Z::Prefixes, 2, 1, 0, 1},
        {"micro", "µ", "micro", nullptr, "E-6", false, nullptr, "prefix", Z::Prefixes, 2, 0, 1, 1},
        {"mil", "m", "milli", nullptr, "E-3", false, nullptr, "prefix", Z::Prefixes, 2, 1, 1, 1},
        {"kilo", "k", "kilo", nullptr, "E+3", false, nullptr, "prefix", Z::Prefixes, 2, 0, 2, 1},
        {"mega", "M", "Méga", nullptr, "E+6", false, nullptr, "prefix", Z::Prefixes, 2, 1, 2, 1},
        {"giga", "G", "Giga", nullptr, "E+9", false, nullptr, "prefix", Z::Prefixes, 2, 0, 3, 1},
        {"tera", "T", "Téra", nullptr, "E+12", false, nullptr, "prefix", Z::Prefixes, 2, 1, 3, 1},
        // The pad.
        {"B7", "7", nullptr, "7", "7", false, nullptr, "digit", Z::Pad, 3, 0, 0, 1},
        {"B8", "8", nullptr, "8", "8", false, nullptr, "digit", Z::Pad, 3, 1, 0, 1},
        {"B9", "9", nullptr, "9", "9", false, nullptr, "digit", Z::Pad, 3, 2, 0, 1},
        {"B4", "4", nullptr, "4", "4", false, nullptr, "digit", Z::Pad, 3, 0, 1, 1},
        {"B5", "5", nullptr, "5", "5", false, nullptr, "digit", Z::Pad, 3, 1, 1, 1},
        {"B6", "6", nullptr, "6", "6", false, nullptr, "digit", Z::Pad, 3, 2, 1, 1},
        {"B1", "1", nullptr, "1", "1", false, nullptr, "digit", Z::Pad, 3, 0, 2, 1},
        {"B2", "2", nullptr, "2", "2", false, nullptr, "digit", Z::Pad, 3, 1, 2, 1},
        {"B3", "3", nullptr, "3", "3", false, nullptr, "digit", Z::Pad, 3, 2, 2, 1},
        {"B0", "0", nullptr, "0", "0", false, nullptr, "digit", Z::Pad, 3, 0, 3, 1},
        {"Bpoint", ".", nullptr, "Point décimal", ".", false, nullptr, "digit", Z::Pad, 3, 1, 3, 1},
        {"BtoEXP", "EXP", nullptr, "Exposant de dix", "E", false, nullptr, "digit", Z::Pad, 3, 2, 3,
         1},
        // Clearing, operators and EXE, right of the pad.
        {"EFFACE", "←", "Effacer dernier caractère", nullptr, nullptr, false,
         &Machine::EFFACE_Click, "erase", Z::Operators, 2, 0, 0, 1},
        {"RAZ", "AC", "Tout effacer", nullptr, nullptr, false, &Machine::RAZ_Click, "erase",
         Z::Operators, 2, 1, 0, 1},
        {"div", "÷", nullptr, "Diviser", nullptr, false, &Machine::div_Click, "operator",
         Z::Operators, 2, 0, 1, 1},
        {"multip", "x", nullptr, "Multiplier", nullptr, false, &Machine::multip_Click, "operator",
         Z::Operators, 2, 1, 1, 1},
        {"moins", "-", nullptr, "Moins", nullptr, false, &Machine::moins_Click, "operator",
         Z::Operators, 2, 0, 2, 1},
        {"plus", "+", nullptr, "Plus", nullptr, false, &Machine::plus_Click, "operator",
         Z::Operators, 2, 1, 2, 1},
        {"EXE", "EXE", "Calculer", nullptr, nullptr, false, &Machine::EXE_Click, "exe",
         Z::Operators, 2, 0, 3, 2},
    };
    for (const KeyDef &def : keys)
        createKey(def);
}

QPushButton *Machine::createKey(const KeyDef &def)
{
    auto *key = new QPushButton(QString::fromUtf8(def.caption), this);
    key->setObjectName(QLatin1String(def.name));
    key->setGeometry(cell(def.zone, def.cols, def.col, def.row, def.colSpan));
    key->setProperty("role", QLatin1String(def.role));
    // Enter means EXE wherever the focus is, never "press the focused key".
    key->setAutoDefault(false);
    if (def.tip)
        key->setToolTip(QString::fromUtf8(def.tip));
    key->setAccessibleName(QString::fromUtf8(def.accessible ? def.accessible : def.tip));
    if (def.handler) {
        connect(key, &QPushButton::clicked, this, def.handler);
    } else {
        const QString text = QString::fromUtf8(def.text);
        const bool product = def.product;
        connect(key, &QPushButton::clicked, this, [this, text, product] {
            if (product)
                appendAfterProduct(text);
            else
                append(text);
        });
    }
    return key;
}

void Machine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (int x = 0; x <= 301; ++x) {
        const int b = static_cast<int>(std::nearbyint(200.0 - x / 2.0));
        painter.setPen(QColor(b, b + 50, b + 50));
        painter.drawLine(x, 0, x, 430);
    }
    auto outline = [&painter](const QColor &colour, int x1, int y1, int x2, int y2) {
        painter.setPen(colour);
        painter.drawRect(x1, y1, x2 - x1, y2 - y1);
    };
    outline(Qt::white, 1, 1, 299, 428);
    painter.setPen(Qt::black);
    painter.drawLine(1, 1, 299, 1);
    painter.drawLine(1, 1, 1, 427);
    outline(Qt::white, 82, 290, 206, 421);
    outline(QColor(0, 128, 128), 81, 289, 205, 420);
}

void Machine::keyPressEvent(QKeyEvent *event)
{
    // Keys that reach the window from the keys and the option buttons. Escape does not close it.
    if (Form_KeyPress(keyAscii(event)) || event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

bool Machine::eventFilter(QObject *watched, QEvent *event)
{
    // The display passes its keys on; those the window has no use for keep their line-edit
    // meaning (arrows, copy).
    if (watched == z1 && event->type() == QEvent::KeyPress)
        return Form_KeyPress(keyAscii(static_cast<QKeyEvent *>(event)));
    if (event->type() == QEvent::Shortcut) {
        auto *button = qobject_cast<QAbstractButton *>(watched);
        if (button && !static_cast<QShortcutEvent *>(event)->isAmbiguous()) {
            if (button->isEnabled())
                button->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool Machine::Form_KeyPress(QChar key)
{
    const char16_t c = key.unicode();
    if ((c >= u'0' && c <= u'9') || c == u'.')
        append(key);
    else if (c == u',')
        append(QStringLiteral(".")); // the French decimal comma: dropped, 34,5 would read 345
    else if (c == u'd' || c == u'e' || c == u'D' || c == u'E')
        append(QStringLiteral("E"));
    else if (c == 8)
        EFFACE_Click();
    else if (c == 13)
        EXE_Click();
    else if (c == u'(')
        appendAfterProduct(QStringLiteral("("));
    else if (c == u')')
        append(QStringLiteral(")"));
    else if (c == u'*')
        multip_Click();
    else if (c == u'+')
        plus_Click();
    else if (c == u'-')
        moins_Click();
    else if (c == u'/')
        div_Click();
    else if (c == u'^')
        puissance_Click();
    else
        return false;
    return true;
}

// Whatever changes the display, typing must keep reaching the window through it.
void Machine::z1_Change()
{
    fitDisplayFont();
    z1->setFocus();
    z1->setCursorPosition(z1->text().size());
    z1->repaint();
}

// Messages and long results shrink, then narrow, to stay readable; longer expressions scroll.
void Machine::fitDisplayFont()
{
    const int room = z1->width() - 20;
    auto fits = [this, room](const QFont &font) {
        return QFontMetrics(font).horizontalAdvance(z1->text()) <= room;
    };
    QFont font(QStringLiteral("Courier New"), kDisplayPoints, QFont::Bold);
    font.setStyleHint(QFont::Monospace);
    for (int size = kDisplayPoints; size > 9 && !fits(font); --size)
        font.setPointSize(size - 1);
    if (!fits(font)) {
        font = QFont(QStringLiteral("Arial Narrow"), 9);
        while (font.pointSize() > 7 && !fits(font))
            font.setPointSize(font.pointSize() - 1);
    }
    z1->setFont(font);
}

void Machine::C_Click(int)
{
    // Shows the last answer again in the new mode, unless an expression has been started.
    if (!calcul.isEmpty())
        return;
    double value = 0.0;
    if (calcnumber::read(reponse.toStdString(), &value)) {
        z1->setText(shownNumber(value));
    } else {
        // A 15-digit answer rounded up past the largest double.
        z1->setText(kOverflow);
        msgbox::beep();
    }
    z1->repaint();
}

void Machine::append(const QString &text)
{
    calcul += text;
    showCalcul();
}

void Machine::appendAfterProduct(const QString &text)
{
    if (!calcul.isEmpty()) {
        const QChar last = calcul.back();
        if (last != u'(' && last != u'-' && last != u' ')
            calcul += QStringLiteral(" * ");
    }
    append(text);
}

// An operator typed first applies to the last answer.
void Machine::answerRule()
{
    if (calcul.trimmed().isEmpty())
        ANS_Click();
}

bool Machine::displayBlank() const
{
    return z1->text().trimmed().isEmpty();
}

void Machine::showCalcul()
{
    z1->setText(calcul);
}

void Machine::plus_Click()
{
    answerRule();
    if (!displayBlank())
        calcul += calcul.endsWith(u'E') ? QStringLiteral("+") : QStringLiteral(" + ");
    showCalcul();
}

void Machine::moins_Click()
{
    if (calcul.endsWith(u'(') || calcul.endsWith(u' ') || calcul.endsWith(u'E'))
        calcul += QStringLiteral("-");
    else if (calcul.endsWith(u'-'))
        calcul += QStringLiteral(" -");
    else if (!calcul.isEmpty())
        calcul += QStringLiteral(" - ");
    else
        calcul += QStringLiteral("-");
    showCalcul();
}

void Machine::multip_Click()
{
    appendOperator(QStringLiteral(" * "));
}

void Machine::div_Click()
{
    appendOperator(QStringLiteral(" / "));
}

// Multiplication and division need something on the display to apply to.
void Machine::appendOperator(const QString &op)
{
    answerRule();
    if (!displayBlank())
        calcul += op;
    showCalcul();
}

void Machine::puissance_Click()
{
    answerRule();
    append(QStringLiteral(" ^ "));
}

void Machine::btcarre_Click()
{
    answerRule();
    append(QStringLiteral(" ^ 2"));
}

void Machine::pi_Click()
{
    appendAfterProduct(fromStd(calcnumber::trimmed(calcnumber::write(4.0 * std::atan(1.0)))));
}

void Machine::ANS_Click()
{
    if (erreur == 0)
        calcul += reponse.trimmed();
    showCalcul();
}

void Machine::EFFACE_Click()
{
    const qsizetype n = calcul.size();
    if (n == 0)
        return;
    if (calcul.back() != u' ') {
        calcul.chop(1);
    } else if (n >= 2 && QStringLiteral("*+/-^").contains(calcul.at(n - 2))) {
        calcul.chop(qMin<qsizetype>(3, n));
    } else {
        // A function word and its space.
        const qsizetype from = n - 2;
        const qsizetype keep
            = from < 0 ? -1 : qMax(calcul.lastIndexOf(u' ', from), calcul.lastIndexOf(u'(', from));
        calcul.truncate(keep + 1);
    }
    showCalcul();
}

void Machine::RAZ_Click()
{
    calcul.clear();
    showCalcul();
}

void Machine::EXE_Click()
{
    erreur = 0;
    const QString typed = calcul;
    std::string work = calcul.toStdString();
    calcul = kPatience;
    showCalcul();

    calc::calcule(work, erreur, angle[1]->isChecked());
    bool overflow = false;
    if (erreur == 0) {
        double value = 0.0;
        overflow = !calcnumber::read(work, &value);
        calcul = overflow ? kOverflow : shownNumber(value);
    } else {
        calcul = errorMessage(erreur);
    }
    if (erreur != 0 || overflow)
        msgbox::beep();

    showCalcul();
    reponse = calcul;
    calcul.clear();
    if (overflow)
        erreur = calc::CalculImpossible; // ANS has no answer to give
    else if (erreur != 0)
        calcul = typed; // the next key continues the faulty expression
}

void Machine::addToMemory(double sign)
{
    double value = 0.0;
    const bool readable = calcnumber::read(z1->text().toStdString(), &value);
    const double sum = shared.memoire + sign * value;
    if (readable && std::isfinite(sum))
        shared.memoire = sum;
    else
        msgbox::beep();
    z1->setFocus();
}

void Machine::Command1_Click()
{
    addToMemory(1.0);
}

void Machine::Command2_Click()
{
    addToMemory(-1.0);
}

void Machine::Command3_Click()
{
    append(C[0]->isChecked() ? fromStd(calcnumber::writeScientific(shared.memoire))
                             : fromStd(calcnumber::trimmed(calcnumber::write(shared.memoire))));
}

void Machine::Command4_Click()
{
    shared.memoire = 0.0;
    z1->setFocus();
}

QString Machine::shownNumber(double value) const
{
    return C[0]->isChecked() ? fromStd(calcnumber::writeScientific(value)) : standard(value);
}
