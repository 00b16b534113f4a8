#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kst {

class Host;

// Tools > Emulator...: the emulator program and its arguments, where %f stands for the image's
// path. OK is refused while the arguments lack %f, which would start the emulator without the
// image. An empty program is taken: it means none is chosen, and the next Run asks again.
class EmulatorDialog : public QDialog {
    Q_OBJECT

public:
    EmulatorDialog(QWidget* parent, Host& host, const QString& program, const QString& arguments);

    QString Program() const;
    QString Arguments() const;

private:
    void Browse(Host& host);
    void ShowAcceptable();

    QLineEdit* program_;
    QLineEdit* arguments_;
    QLabel* refusal_;
    QPushButton* ok_;
};

} // namespace kst
