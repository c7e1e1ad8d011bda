// The station run as a job from the command line: a recording or a stream started without
// anyone at the window, for a set time or until a signal ends it.
#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class CCaptureDlg;
namespace platform {
class IMessageService;
}

struct JobOptions {
    QString skin;
    QString videoDevice;
    QString videoFormat;
    QString audioDevice;
    QSize outputSize;      // invalid: the output dialog's own
    int frameRate = 0;     // 0: the output dialog's own
    int videoBitrate = 0;  // 0: the output dialog's own
    QString record;        // absolute; empty: no file
    int durationSeconds = 0;
    QString live;          // the server's address; empty: no stream
    QString streamKey;     // read from --stream-key-file
    bool minimized = false;

    bool Unattended() const { return !record.isEmpty() || !live.isEmpty(); }
    bool AnyGiven() const {
        return Unattended() || !skin.isEmpty() || !videoDevice.isEmpty() || !audioDevice.isEmpty() ||
               outputSize.isValid() || frameRate || videoBitrate || minimized;
    }
};

// What the command line asks for: a run with these options, or an exit at once with words for
// standard output (--help, --version) or standard error (a bad value, status 2).
struct CommandLine {
    std::optional<JobOptions> job;
    int exitCode = 0;
    QString text;
};
CommandLine ParseCommandLine(const QStringList& arguments);

class CaptureJob : public QObject {
public:
    CaptureJob(CCaptureDlg& window, JobOptions options);
    ~CaptureJob() override;

    // Puts the options into the window's dialogs as a user would choose them; the reason when
    // one of them does not fit what the station offers.
    QString Apply();
    // Once the window runs: starts the recording or stream, and with a duration ends it and
    // closes the window after that time.
    void Start();
    // Ends a running recording whole and closes the window; the program exits with `code`.
    void Finish(int code);
    int ExitCode() const { return m_exitCode; }

private:
    QString ChooseSkin();
    QString ChooseVideo();
    QString ChooseAudio();
    QString ChooseOutput();
    void ChooseStream();

    CCaptureDlg& m_window;
    JobOptions m_options;
    std::unique_ptr<platform::IMessageService> m_messages;  // boxes go to standard error
    int m_exitCode = 0;
};
