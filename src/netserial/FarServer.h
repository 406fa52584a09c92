#pragma once

#include "FarProtocol.h"

#include "core/TitleData.h"
#include "link/LinkView.h"

#include <functional>
#include <memory>
#include <optional>

class LinkEngine;
class LinkPlatform;
class LinkTimer;
class SerialPort;

// The far side of the protocol: the link engine beside the unit, on the
// port `farPort` of this computer, driven by the requests that come in and
// telling the near side, line by line, everything its engine shows. The
// write's record goes to this computer's own transfer log (through
// `record`, which stamps and appends it) before it is answered, so a near
// side cut off mid-write can ask for it later by the write's id (`find`).
// Bytes in and lines out only: `orvex serve --stdio` puts it on standard
// input and output, the tests on a fake channel.
class FarServer : private LinkView
{
public:
    using Output = std::function<void(const QByteArray &line)>;
    // Stamps and logs a finished write; gives the record as logged.
    using Record = std::function<TransferRecord(const TransferRecord &finished)>;
    // The newest logged record of the write with this id.
    using Find = std::function<std::optional<TransferRecord>(const QString &id)>;

    FarServer(LinkPlatform &platform, const QString &farPort, Output out, Record record, Find find);
    ~FarServer() override;

    // Says hello.
    void start();
    void receive(const QByteArray &bytes);
    // The near side is gone (its input ended, or a line was too long): a
    // write in progress is abandoned and recorded as such.
    void inputEnded();
    // True once nothing more will be read: the program may end.
    bool finished() const { return m_finished; }

private:
    void handle(const QJsonObject &request);
    void ensureEngine();
    void refuse(const QString &why);
    void send(const QString &kind, QJsonObject fields = {});

    // LinkView
    void setMessage(const QString &text) override;
    void setMeter(const MeterReading &meter) override;
    void setChannelLit(int channel, bool lit) override;
    void setHorizontalPosition(int value) override { m_status.hpos = value; }
    void setVerticalPosition(int value) override { m_status.vpos = value; }
    void setBlackLevel(int index) override { m_status.black = index; }
    void setWhiteLevel(int index) override { m_status.white = index; }
    void setVideoLoss(int input, bool lost) override;
    void setWriteEnabled(bool enabled) override;
    void focusWriteButton() override;
    bool isVisible() const override { return true; }
    void showWarning(const QString &title, const QString &text) override;
    void unloadWindow() override;
    void replyGarbled(Cmd cmdKind) override { m_status.garbled << cmdKind; }
    void operationEnded(Request reqNo) override;
    void bulkWriteFinished(const TransferRecord &report) override;

    LinkPlatform &m_platform;
    QString m_farPort;
    Output m_out;
    Record m_record;
    Find m_find;
    TitleData m_data;
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<LinkTimer> m_chReqTimer;
    std::unique_ptr<LinkTimer> m_rxTimer;
    std::unique_ptr<LinkEngine> m_engine;
    bool m_unloaded = false;
    bool m_finished = false;
    FarProtocol::LineReader m_reader;
    UnitStatus m_status;
    QString m_writeId;
};
