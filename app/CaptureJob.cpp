#include "CaptureJob.h"

#include "CCaptureDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include "dialogs/DialogIds.h"
#include "platform/Services.h"
#include "platform/StreamAddress.h"
#include "skin/SkinPackages.h"

namespace {

QString SkinName(const SkinCommand& c) { return QString::fromLatin1(c.caption).remove(QLatin1Char('&')); }

// "MJPEG 1280x720 30" names "1280x720 MJPEG 30 fps": the same words in any order.
QStringList FormatWords(const QString& name) {
    QStringList words = name.toLower().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    words.removeAll(QStringLiteral("fps"));
    words.sort();
    return words;
}

// Picks `wanted` in `combo` as a user would; false when it is not listed.
bool Pick(QComboBox* combo, const QString& wanted, bool asFormat = false) {
    if (!combo) return false;
    for (int i = 0; i < combo->count(); ++i) {
        const QString item = combo->itemText(i);
        if (asFormat ? FormatWords(item) == FormatWords(wanted) : item == wanted) {
            combo->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

QString Listed(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; combo && i < combo->count(); ++i) items << QLatin1Char('"') + combo->itemText(i) + QLatin1Char('"');
    return items.join(QStringLiteral(", "));
}

// A positive whole number, or nothing.
std::optional<int> Positive(const QString& text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok && v > 0 ? std::optional<int>(v) : std::nullopt;
}

// Unattended, a box would wait for nobody: its words go to standard error instead.
class StandardErrorMessages : public platform::IMessageService {
public:
    int Show(QWidget*, const QString&, const QString& text, platform::MsgButtons buttons,
             platform::MsgIcon) override {
        std::fprintf(stderr, "capture-station: %s\n", qPrintable(text));
        return buttons == platform::MsgButtons::YesNo ? platform::IDNO : platform::IDOK;
    }
};

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Records and streams a camera and a microphone through a skinned window. With --record or "
        "--live it runs as a job: it starts at once and, with --duration, stops and exits after."));
    const QCommandLineOption help = p.addHelpOption();
    const QCommandLineOption version = p.addVersionOption();
    const QCommandLineOption skin(QStringLiteral("skin"), "The skin to start with (Orange, Black, Blue, …).", "NAME");
    const QCommandLineOption video(QStringLiteral("video-device"), "The camera, by the name the Video device dialog lists.", "NAME");
    const QCommandLineOption format(QStringLiteral("video-format"), "Its format, e.g. \"MJPEG 1280x720 30\".", "FORMAT");
    const QCommandLineOption audio(QStringLiteral("audio-device"), "The sound source, by the name the Audio device dialog lists.", "NAME");
    const QCommandLineOption size(QStringLiteral("output-size"), "The recorded picture's size, e.g. 1280x720.", "WxH");
    const QCommandLineOption rate(QStringLiteral("frame-rate"), "Recorded pictures per second.", "N");
    const QCommandLineOption bitrate(QStringLiteral("video-bitrate"), "The video bitrate in bits per second.", "N");
    const QCommandLineOption record(QStringLiteral("record"), "Record into FILE (.flv, .mp4 or .mkv).", "FILE");
    const QCommandLineOption duration(QStringLiteral("duration"), "Stop after SECONDS and exit.", "SECONDS");
    const QCommandLineOption live(QStringLiteral("live"), "Stream to the RTMP server at URL.", "URL");
    const QCommandLineOption keyFile(QStringLiteral("stream-key-file"), "Read the stream key from FILE (never from the command line).", "FILE");
    const QCommandLineOption minimized(QStringLiteral("minimized"), "Start with the window minimized.");
    p.addOptions({skin, video, format, audio, size, rate, bitrate, record, duration, live, keyFile, minimized});

    CommandLine result;
    auto refuse = [&](const QString& why) {
        result.exitCode = 2;
        result.text = QStringLiteral("capture-station: %1\nTry --help.\n").arg(why);
        return result;
    };
    // The windowing system's own options are QApplication's to take, not ours to refuse.
    static const QStringList kQtOptionsWithValue = {"-platform", "-platformpluginpath", "-platformtheme", "-plugin",
                                                    "-display", "-geometry", "-qwindowgeometry", "-qwindowtitle",
                                                    "-qwindowicon", "-style", "-stylesheet", "-session"};
    QStringList ours;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (i > 0 && kQtOptionsWithValue.contains(arguments[i])) {
            ++i;
            continue;
        }
        if (i > 0 && arguments[i] == QLatin1String("-reverse")) continue;
        ours << arguments[i];
    }
    if (!p.parse(ours)) return refuse(p.errorText());
    if (p.isSet(help)) {
        result.text = p.helpText();
        return result;
    }
    if (p.isSet(version)) {
        result.text = QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return result;
    }
    if (!p.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unexpected argument \"%1\"").arg(p.positionalArguments().front()));

    JobOptions o;
    o.skin = p.value(skin);
    o.videoDevice = p.value(video);
    o.videoFormat = p.value(format);
    o.audioDevice = p.value(audio);
    o.minimized = p.isSet(minimized);
    if (p.isSet(size)) {
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$")).match(p.value(size));
        const int w = m.hasMatch() ? m.captured(1).toInt() : 0, h = m.hasMatch() ? m.captured(2).toInt() : 0;
        if (w < 16 || h < 16 || w > 4096 || h > 4096 || w % 2 || h % 2)
            return refuse(QStringLiteral("--output-size \"%1\" is not a size: give WIDTHxHEIGHT, even numbers from 16 to 4096").arg(p.value(size)));
        o.outputSize = QSize(w, h);
    }
    struct Number {
        const QCommandLineOption& option;
        int* into;
    };
    for (const Number& n : {Number{rate, &o.frameRate}, Number{bitrate, &o.videoBitrate}, Number{duration, &o.durationSeconds}}) {
        if (!p.isSet(n.option)) continue;
        const std::optional<int> v = Positive(p.value(n.option));
        if (!v) return refuse(QStringLiteral("--%1 \"%2\" is not a positive whole number").arg(n.option.names().front(), p.value(n.option)));
        *n.into = *v;
    }
    if (o.frameRate > 60) return refuse(QStringLiteral("--frame-rate %1 is more than 60").arg(o.frameRate));
    if (p.isSet(record)) o.record = QDir::current().absoluteFilePath(p.value(record));
    if (p.isSet(live)) {
        o.live = p.value(live);
        if (!p.isSet(keyFile)) return refuse(QStringLiteral("--live needs --stream-key-file"));
        QFile file(p.value(keyFile));
        if (!file.open(QIODevice::ReadOnly))
            return refuse(QStringLiteral("cannot read the stream key from \"%1\": %2").arg(file.fileName(), file.errorString()));
        o.streamKey = QString::fromUtf8(file.readAll()).trimmed();
        const auto address = platform::ParseStreamAddress(o.live.toStdString(), o.streamKey.toStdString());
        if (!address) return refuse(QStringLiteral("cannot stream to \"%1\": %2").arg(o.live, QString::fromStdString(address.Error())));
    } else if (p.isSet(keyFile)) {
        return refuse(QStringLiteral("--stream-key-file goes with --live"));
    }
    if (o.durationSeconds && !o.Unattended()) return refuse(QStringLiteral("--duration goes with --record or --live"));
    if (!o.videoFormat.isEmpty() && o.videoDevice.isEmpty())
        return refuse(QStringLiteral("--video-format goes with --video-device"));
    result.job = o;
    return result;
}

CaptureJob::CaptureJob(CCaptureDlg& window, JobOptions options)
    : m_window(window), m_options(std::move(options)), m_messages(std::make_unique<StandardErrorMessages>()) {}

CaptureJob::~CaptureJob() { platform::SetMessageService(nullptr); }

QString CaptureJob::Apply() {
    // Options serve this run only: nothing of it is remembered.
    if (m_options.AnyGiven()) m_window.DoNotRemember();
    // A dialog that refuses a value says so on standard error, not in a box before the window.
    platform::SetMessageService(m_messages.get());
    QString why;
    for (auto step : {&CaptureJob::ChooseSkin, &CaptureJob::ChooseVideo, &CaptureJob::ChooseAudio,
                      &CaptureJob::ChooseOutput})
        if (why.isEmpty()) why = (this->*step)();
    if (why.isEmpty()) ChooseStream();
    if (!m_options.Unattended()) platform::SetMessageService(nullptr);
    if (m_options.minimized) m_window.setWindowState(Qt::WindowMinimized);
    return why;
}

QString CaptureJob::ChooseSkin() {
    if (m_options.skin.isEmpty()) return {};
    QStringList names;
    for (const SkinCommand& c : kSkinCommands) {
        if (SkinName(c).compare(m_options.skin, Qt::CaseInsensitive) == 0) {
            m_window.OnChangeSkin(c.id);
            return {};
        }
        names << SkinName(c);
    }
    return QStringLiteral("there is no skin \"%1\"; the skins are %2").arg(m_options.skin, names.join(QStringLiteral(", ")));
}

QString CaptureJob::ChooseVideo() {
    if (m_options.videoDevice.isEmpty()) return {};
    CVideoDeviceDlg& d = m_window.VideoDeviceDlg();
    if (!Pick(d.Combo(VideoDeviceIds::kDeviceList), m_options.videoDevice))
        return QStringLiteral("there is no video device \"%1\"; the devices are %2")
            .arg(m_options.videoDevice, Listed(d.Combo(VideoDeviceIds::kDeviceList)));
    if (!m_options.videoFormat.isEmpty() && !Pick(d.Combo(VideoDeviceIds::kFormatList), m_options.videoFormat, true))
        return QStringLiteral("\"%1\" has no format \"%2\"; it has %3")
            .arg(m_options.videoDevice, m_options.videoFormat, Listed(d.Combo(VideoDeviceIds::kFormatList)));
    d.Button(VideoDeviceIds::kOk)->click();
    return {};
}

QString CaptureJob::ChooseAudio() {
    if (m_options.audioDevice.isEmpty()) return {};
    CAudioDeviceDlg& d = m_window.AudioDeviceDlg();
    if (!Pick(d.Combo(AudioDeviceIds::kDeviceList), m_options.audioDevice))
        return QStringLiteral("there is no audio device \"%1\"; the devices are %2")
            .arg(m_options.audioDevice, Listed(d.Combo(AudioDeviceIds::kDeviceList)));
    d.Button(AudioDeviceIds::kOk)->click();
    return {};
}

QString CaptureJob::ChooseOutput() {
    CFlvPropertiesDlg& d = m_window.FlvDlg();
    const QSize size = m_options.outputSize;
    struct Field {
        int edit;
        int value;
    } fields[] = {{FlvIds::kWidthEdit, size.isValid() ? size.width() : 0},
                  {FlvIds::kHeightEdit, size.isValid() ? size.height() : 0},
                  {FlvIds::kFrameRateEdit, m_options.frameRate},
                  {FlvIds::kVideoBitrateEdit, m_options.videoBitrate}};
    bool any = false;
    for (const Field& f : fields)
        if (f.value > 0) {
            d.Edit(f.edit)->setText(QString::number(f.value));
            any = true;
        }
    if (!any) return {};
    d.Button(FlvIds::kOk)->click();
    const bool taken = (!size.isValid() || (d.Width() == size.width() && d.Height() == size.height())) &&
                       (!m_options.frameRate || int(d.FrameRate()) == m_options.frameRate) &&
                       (!m_options.videoBitrate || d.VideoBitrate() == m_options.videoBitrate);
    return taken ? QString() : QStringLiteral("the output values are refused (see above)");
}

void CaptureJob::ChooseStream() {
    if (m_options.live.isEmpty()) return;
    CLiveStreamDlg& d = m_window.LiveStreamDlg();
    d.Edit(LiveStreamIds::kServerEdit)->setText(m_options.live);
    d.Edit(LiveStreamIds::kKeyEdit)->setText(m_options.streamKey);
    d.Check(LiveStreamIds::kRecordCopy)->setChecked(!m_options.record.isEmpty());
    d.Button(LiveStreamIds::kOk)->click();
}

void CaptureJob::Start() {
    if (!m_options.Unattended()) return;
    QTimer::singleShot(0, this, [this] {
        if (!m_window.RecordTo(m_options.record, !m_options.live.isEmpty())) {
            Finish(1);  // the reason went to standard error
            return;
        }
        if (m_options.durationSeconds > 0)
            // A coarse timer may fire 5% early: a ten-second job would be half a second short.
            QTimer::singleShot(m_options.durationSeconds * 1000, Qt::PreciseTimer, this, [this] { Finish(0); });
    });
}

void CaptureJob::Finish(int code) {
    m_exitCode = code;
    m_window.FinishRecording();
    m_window.done(0);
}
