// The drive list: the system's roots and mounted volumes, where other systems have drive letters.
#pragma once

#include <QComboBox>

class DriveList : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveList(QWidget *parent = nullptr);

    // Root path of the chosen volume.
    QString drive() const;
    // Shows the volume that holds `path`, without a driveChanged signal.
    void showDriveOf(const QString &path);
    // Reads the volumes again.
    void refresh();

Q_SIGNALS:
    // The user chose a volume.
    void driveChanged(const QString &root);

private:
    int addVolume(const QString &root);
};
