#pragma once

#include "link/history/TransferLog.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

// "通信履歴": every bulk write recorded on this computer, newest first, with
// the port, the channels asked and completed, the result, the title's file
// (marked when the title had unsaved edits) and the hashes of what each
// completed channel was sent.
class TransferHistoryWindow : public QWidget
{
    Q_OBJECT
public:
    enum Column { Time, Port, Channels, Completed, Result, File, Hashes, ColumnCount };

    TransferHistoryWindow(const TransferLog &log, QWidget *owner);

    // Reads the log again.
    void reload();

    QTableWidget *table() const { return m_table; }
    QLabel *note() const { return m_note; }

    // The operator's word for a record's result.
    static QString resultText(WriteOutcome outcome);
    // The title's file, and whether the write sent unsaved edits.
    static QString fileText(const TransferRecord &record);

private:
    TransferLog m_log;
    QTableWidget *m_table = nullptr;
    QLabel *m_note = nullptr;
    QPushButton *m_reload = nullptr;
};
