#include "editorpage.h"

#include <QGroupBox>

namespace kst {

EditorPage::EditorPage(QGroupBox* frame) : QObject(frame), frame_(frame) {}

void EditorPage::Show(bool imageOpen, bool tabSelected) {
    const bool enabled = imageOpen || !NeedsImage();
    frame_->setEnabled(enabled);
    frame_->setVisible(enabled && tabSelected);
}

} // namespace kst
