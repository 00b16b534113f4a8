#include "emulatordialog.h"

#include "widgets/host.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kst {

namespace {

#ifdef Q_OS_WIN
const QStringList kProgramFilters = {QStringLiteral("Programs (*.exe)")};
#else
const QStringList kProgramFilters = {QStringLiteral("All Files (*)")};
#endif

QLineEdit* Box(QWidget* parent, const char* name, const QString& text) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setMinimumWidth(360);
    return box;
}

} // namespace

EmulatorDialog::EmulatorDialog(QWidget* parent, Host& host, const QString& program,
                               const QString& arguments)
    : QDialog(parent), program_(Box(this, "EmulatorProgramTXT", program)),
      arguments_(Box(this, "EmulatorArgumentsTXT", arguments)),
      refusal_(new QLabel(QStringLiteral("The arguments must hold %f, which stands for the "
                                         "image's path."),
                          this)) {
    setWindowTitle(QStringLiteral("Emulator"));
    program_->setAccessibleName(QStringLiteral("Emulator program"));
    arguments_->setAccessibleName(QStringLiteral("Emulator arguments"));
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    browse->setObjectName(QStringLiteral("EmulatorBrowseCMD"));
    browse->setAccessibleName(QStringLiteral("Browse for the emulator program"));
    connect(browse, &QPushButton::clicked, this, [this, &host] { Browse(host); });
    auto* programRow = new QHBoxLayout;
    programRow->addWidget(program_);
    programRow->addWidget(browse);
    auto* hint = new QLabel(QStringLiteral("%f stands for the image's path."), this);
    refusal_->setObjectName(QStringLiteral("EmulatorRefusalLBL"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(arguments_, &QLineEdit::textChanged, this, &EmulatorDialog::ShowAcceptable);
    // Beside a row of two widgets the form would give the label no buddy, and with none it
    // shows its "&" instead of taking Alt+P.
    auto* programLabel = new QLabel(QStringLiteral("&Program:"), this);
    programLabel->setBuddy(program_);
    auto* form = new QFormLayout(this);
    form->addRow(programLabel, programRow);
    form->addRow(QStringLiteral("&Arguments:"), arguments_);
    form->addRow(QString(), hint);
    form->addRow(QString(), refusal_);
    form->addRow(buttons);
    ShowAcceptable();
}

QString EmulatorDialog::Program() const {
    return program_->text().trimmed();
}

QString EmulatorDialog::Arguments() const {
    return arguments_->text();
}

void EmulatorDialog::Browse(Host& host) {
    const FileName chosen = host.ChooseFile(this, kProgramFilters, kProgramFilters.front());
    if (!chosen.IsEmpty())
        program_->setText(QDir::toNativeSeparators(chosen.Text()));
}

void EmulatorDialog::ShowAcceptable() {
    const bool acceptable = Arguments().contains(QLatin1String("%f"));
    ok_->setEnabled(acceptable);
    refusal_->setVisible(!acceptable);
}

} // namespace kst
