// The message boxes of the exercise window and of the exercise texts.
#pragma once

#include <QString>

class QWidget;
struct SharedValues;

namespace exomsg {

// Asks before edited text is lost; true when the operation may go on.
bool guard(QWidget *parent, const SharedValues &sv);
// An exercise file that cannot be opened or read.
void lectureImpossible(QWidget *parent);
// A text named by an exercise that cannot be loaded: `name` as the exercise stores it.
void fichierAbsent(QWidget *parent, const QString &repexo, const QString &name);
// The guided first exercise could not be read or loaded.
void installationIncomplete(QWidget *parent);
// True when the user accepts to replace the file called `name`.
bool ecraser(QWidget *parent, const QString &name);
void erreurEcriture(QWidget *parent);
void erreurLecture(QWidget *parent);

} // namespace exomsg
