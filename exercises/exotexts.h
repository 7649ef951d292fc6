// The exercise menu and what it does to the exercise pane: open an exercise, its correction or
// the guided first exercise, save, retrieve and print the pane's text, close the exercise.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <memory>

class ComExo;
class ExerciseHost;
class QAction;
class QMenu;

class ExoTexts : public QObject
{
    Q_OBJECT
public:
    explicit ExoTexts(ExerciseHost &host, QObject *parent = nullptr);
    ~ExoTexts() override;

    QMenu *optionexo = nullptr;
    QAction *PRISENMAIN = nullptr;
    QAction *separons1 = nullptr;
    QAction *openexo = nullptr;
    QAction *opencor = nullptr;
    QAction *separons2 = nullptr;
    QAction *savetexte = nullptr;
    QAction *opentexte = nullptr;
    QAction *imprimetexte = nullptr;
    QAction *separons3 = nullptr;
    QAction *Closexo = nullptr;

    // The exercise button: the menu pops up at `where` (global), its entries enabled for what
    // the pane holds.
    void btexo_Click(const QPoint &where);
    void optionexo_Click();

    void PRISENMAIN_Click();
    void openexo_Click();
    void opencor_Click();
    void savetexte_Click();
    void opentexte_Click();
    void imprimetexte_Click();
    void Closexo_Click();

    // The exercise the launcher asks for, by its name relative to the program's folder.
    void openRequested(const QString &name);

    // Tests answer the file and printer dialogs through their own ComExo.
    void setDialogs(std::unique_ptr<ComExo> dialogs);

private:
    QAction *entry(const QString &name, const QString &caption, void (ExoTexts::*handler)());
    QWidget *parentWidget();

    ExerciseHost &host;
    std::unique_ptr<ComExo> comexo;
    QPointer<QMenu> menu; // the main window may delete it first
};
