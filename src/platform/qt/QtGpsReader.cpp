#include "platform/qt/QtGpsReader.h"

#include <QSerialPort>
#include <array>
#include <mutex>

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

// Runs on the reader thread only. The device's state goes to GpsState (under its lock) at
// every change: the window thread tells the operator of each loss and return.
class GpsSerialWorker : public QObject {
public:
    GpsSerialWorker(GpsState& state, QObject* receiver, std::function<void()> done)
        : state(state), receiver(receiver), done(std::move(done)) {}

    // The operator's open: what was lost before is forgotten.
    GpsOpenResult Open(const QString& device, const GpsLineSettings& settings) {
        Close();
        lastDevice = device;
        lastSettings = settings;
        const GpsOpenResult result = OpenPort();
        MarkDevice(result != GpsOpenResult::NotAvailable);
        return result;
    }
    void Close() {
        if (port) port->close();
        port.reset();
        lastDevice.clear();
        std::lock_guard<std::mutex> guard(state.lock);
        state.device.path.clear();
        state.device.lost = false;
    }
    void Purge() {
        if (port) port->clear();
    }
    void Read(const GpsDecodeContext& context) {
        ReopenAfterLoss();
        if (port && port->isOpen()) {
            // Let the port move what the driver holds into its buffer, without waiting.
            port->waitForReadyRead(0);
            const qint64 got = port->read(buffer.data(), static_cast<qint64>(buffer.size()));
            const bool failed = port->error() != QSerialPort::NoError &&
                                port->error() != QSerialPort::TimeoutError;
            if (failed || !port->isOpen()) {
                // An unplugged receiver, a closed pseudo-terminal: reopened on later reads.
                port->close();
                MarkDevice(false);
            }
            state.DecodeRead(buffer.data(), got > 0 ? static_cast<std::size_t>(got) : 0, context);
        }
        QMetaObject::invokeMethod(receiver, done, Qt::QueuedConnection);
    }

private:
    // Opens lastDevice by its name, so that a link (/dev/serial/by-id/...) is resolved anew.
    GpsOpenResult OpenPort() {
        port = std::make_unique<QSerialPort>();
        port->setPortName(lastDevice);
        // What one read can take; more stays with the driver for the next read.
        port->setReadBufferSize(static_cast<qint64>(buffer.size()));
        if (!port->open(QIODevice::ReadOnly)) {
            port.reset();
            return GpsOpenResult::NotAvailable;
        }
        if (!Configure(*port, lastSettings)) return GpsOpenResult::SettingsRefused;
        port->clear();
        return GpsOpenResult::Opened;
    }

    void ReopenAfterLoss() {
        if (lastDevice.isEmpty() || (port && port->isOpen())) return;
        MarkDevice(OpenPort() != GpsOpenResult::NotAvailable);
    }

    // Counts a change between open and lost.
    void MarkDevice(bool open) {
        std::lock_guard<std::mutex> guard(state.lock);
        GpsDeviceStatus& device = state.device;
        device.path = lastDevice.toStdString();
        if (open && device.lost) {
            device.lost = false;
            ++device.returns;
        } else if (!open && !device.lost) {
            device.lost = true;
            ++device.losses;
        }
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
    return ProbeDevice(device);
}

bool QtGpsReader::ProbeDevice(const std::string& device) {
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
