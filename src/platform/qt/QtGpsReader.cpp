#include "platform/qt/QtGpsReader.h"

#include <QSerialPort>
#include <array>

namespace {

QSerialPort::Parity ToQt(GpsParity parity) {
    switch (parity) {
        case GpsParity::Even:
            return QSerialPort::EvenParity;
        case GpsParity::Odd:
            return QSerialPort::OddParity;
        case GpsParity::None:
            break;
    }
    return QSerialPort::NoParity;
}

bool Configure(QSerialPort& port, const GpsLineSettings& s) {
    const int bits = s.dataBits >= 5 && s.dataBits <= 8 ? s.dataBits : 8;
    return port.setBaudRate(s.baudRate) &&
           port.setDataBits(static_cast<QSerialPort::DataBits>(bits)) &&
           port.setStopBits(s.stopBits == 0 ? QSerialPort::OneStop : QSerialPort::TwoStop) &&
           port.setParity(ToQt(ParityAtListPosition(s.parity))) &&
           port.setFlowControl(s.ctsFlow ? QSerialPort::HardwareControl
                                         : QSerialPort::NoFlowControl);
}

}  // namespace

// Runs on the reader thread only.
class GpsSerialWorker : public QObject {
public:
    GpsSerialWorker(GpsState& state, QObject* receiver, std::function<void()> done)
        : state(state), receiver(receiver), done(std::move(done)) {}

    GpsOpenResult Open(const QString& device, const GpsLineSettings& settings) {
        Close();
        port = std::make_unique<QSerialPort>();
        port->setPortName(device);
        // What one read can take; more stays with the driver for the next read.
        port->setReadBufferSize(static_cast<qint64>(buffer.size()));
        lastDevice = device;
        lastSettings = settings;
        if (!port->open(QIODevice::ReadOnly)) {
            port.reset();
            return GpsOpenResult::NotAvailable;
        }
        if (!Configure(*port, settings)) return GpsOpenResult::SettingsRefused;
        port->clear();
        return GpsOpenResult::Opened;
    }
    void Close() {
        if (port) port->close();
        port.reset();
        lastDevice.clear();
    }
    void Purge() {
        if (port) port->clear();
    }
    void Read(const GpsDecodeContext& context) {
        ReopenAfterError();
        if (port && port->isOpen()) {
            // Let the port move what the driver holds into its buffer, without waiting.
            port->waitForReadyRead(0);
            const qint64 got = port->read(buffer.data(), static_cast<qint64>(buffer.size()));
            if (port->error() != QSerialPort::NoError &&
                port->error() != QSerialPort::TimeoutError) {
                // An unplugged receiver: closed now, reopened on a later cycle.
                port->close();
            }
            state.DecodeRead(buffer.data(), got > 0 ? static_cast<std::size_t>(got) : 0, context);
        }
        QMetaObject::invokeMethod(receiver, done, Qt::QueuedConnection);
    }

private:
    void ReopenAfterError() {
        if (lastDevice.isEmpty() || (port && port->isOpen())) return;
        const QString device = lastDevice;
        const GpsLineSettings settings = lastSettings;
        Open(device, settings);
    }

    GpsState& state;
    QObject* receiver;
    std::function<void()> done;
    std::unique_ptr<QSerialPort> port;
    QString lastDevice;
    GpsLineSettings lastSettings;
    std::array<char, 65536> buffer{};
};

QtGpsReader::QtGpsReader(GpsState& state, std::function<void()> done)
    : receiver(std::make_unique<QObject>()) {
    worker = new GpsSerialWorker(state, receiver.get(), std::move(done));
    worker->moveToThread(&thread);
    QObject::connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
    thread.setObjectName(QStringLiteral("GPS reader"));
    thread.start();
}

QtGpsReader::~QtGpsReader() {
    Close();
    thread.quit();
    thread.wait();
}

bool QtGpsReader::Probe(const std::string& device) {
    QSerialPort port;
    port.setPortName(QString::fromStdString(device));
    if (!port.open(QIODevice::ReadWrite)) return false;
    port.close();
    return true;
}

GpsOpenResult QtGpsReader::Open(const std::string& device, const GpsLineSettings& settings) {
    GpsOpenResult result = GpsOpenResult::NotAvailable;
    const QString name = QString::fromStdString(device);
    QMetaObject::invokeMethod(
        worker, [&] { result = worker->Open(name, settings); }, Qt::BlockingQueuedConnection);
    return result;
}

void QtGpsReader::Close() {
    QMetaObject::invokeMethod(
        worker, [this] { worker->Close(); }, Qt::BlockingQueuedConnection);
}

void QtGpsReader::Purge() {
    QMetaObject::invokeMethod(
        worker, [this] { worker->Purge(); }, Qt::BlockingQueuedConnection);
}

void QtGpsReader::RequestRead(const GpsDecodeContext& context) {
    QMetaObject::invokeMethod(
        worker, [this, context] { worker->Read(context); }, Qt::QueuedConnection);
}
