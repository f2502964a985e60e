#pragma once
// Answers the next file dialog that a menu handler opens modally: types the full path as the
// file name and accepts it, as a user would.

#include <QObject>
#include <QString>
#include <QTimer>

class FileDialogAnswer : public QObject {
    Q_OBJECT
public:
    explicit FileDialogAnswer(QString path);
    bool answered() const { return answered_; }

private:
    void answerIfOpen();

    QString path_;
    QTimer poll_;
    bool answered_ = false;
};
