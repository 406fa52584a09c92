#pragma once

#include <QtGlobal>

class QString;

// Keeps Qt's routine chatter (plug-in warnings, image reader complaints, a
// missing runtime folder) off the operator's terminal: the programs say in
// their own words what went wrong, and a Qt warning printed before it only
// confuses. Critical and fatal messages still pass, and so does anything
// logged under the program's own "orvex" categories. Setting
// ORVEX_QT_MESSAGES=1 lets everything through again, for finding a fault.
namespace QtMessageFilter {

// Installs the filter as the process's Qt message handler.
void install();

// Whether a message of this type and logging category reaches the terminal.
bool passes(QtMsgType type, const char *category);

} // namespace QtMessageFilter
