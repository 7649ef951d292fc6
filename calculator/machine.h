// The pocket calculator window: its keys and the keyboard build an expression as text,
// EXE hands it to the evaluator, and the memory lives in the program's shared values.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;
class QRadioButton;
struct SharedValues;

class Machine : public QDialog
{
    Q_OBJECT

public:
    // The memory register is `shared.memoire`, so it outlives the window. Show with exec().
    explicit Machine(SharedValues &shared, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct KeyDef;

    void createDisplay();
    void createOptions();
    void createKeys();
    QPushButton *createKey(const KeyDef &def);

    bool Form_KeyPress(QChar key);
    void z1_Change();
    void fitDisplayFont();
    void C_Click(int Index);

    void plus_Click();
    void moins_Click();
    void multip_Click();
    void div_Click();
    void puissance_Click();
    void btcarre_Click();
    void pi_Click();
    void ANS_Click();
    void EFFACE_Click();
    void RAZ_Click();
    void EXE_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

    void append(const QString &text);
    void appendAfterProduct(const QString &text);
    void appendOperator(const QString &op);
    void answerRule();
    bool displayBlank() const;
    void showCalcul();
    void addToMemory(double sign);
    QString shownNumber(double value) const;

    SharedValues &shared;
    QString calcul; // the expression being typed
    QString reponse; // what the display showed after the last evaluation
    int erreur = 0; // code of the last evaluation

    QLineEdit *z1 = nullptr;
    QRadioButton *angle[2] = {};
    QRadioButton *C[2] = {};
};
