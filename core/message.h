#pragma once

#include <QString>

namespace kst {

// The icon of a message box, which says how grave the message is.
enum class MessageIcon { Question, Information, Warning, Critical };

// A message for the user: its text, the caption of its box and its icon, and the details
// shown below the text, if any. The texts themselves live in messages.cpp, so that rewording
// one rebuilds that file alone.
struct Message {
    QString text;
    QString caption;
    MessageIcon icon;
    QString informative = {};
};

// The text and its details in one, where no box can show them apart.
inline QString WholeText(const Message& message) {
    return message.informative.isEmpty()
               ? message.text
               : message.text + QStringLiteral("  ") + message.informative;
}

} // namespace kst
