#include "tabring.h"

#include "ui_mainwindow.h"

namespace kst {

namespace {

// The controls inside a frame that Tab visits, in the order the frame's form gives them.
QList<QWidget*> TabControlsIn(QWidget* frame) {
    QList<QWidget*> controls;
    QWidget* window = frame->window();
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if (frame->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus))
            controls << w;
    return controls;
}

} // namespace

void OrderTabRing(const Ui::Main& window) {
    const QList<QWidget*> ring =
        TabControlsIn(window.EnemyFRA) + TabControlsIn(window.ShopsFRA) +
        QList<QWidget*>{window.OpenCMD, window.ApplyCMD, window.QuitCMD, window.tabs} +
        TabControlsIn(window.GeneralFRA);
    for (qsizetype i = 1; i < ring.size(); ++i)
        QWidget::setTabOrder(ring[i - 1], ring[i]);
}

} // namespace kst
