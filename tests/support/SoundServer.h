// A PulseAudio server of the test's own, in a private folder, with a 440 Hz sine source and
// a null sink (whose monitor records what is played into it). ALSA's default device records
// that monitor through the pulse plugin when alsaConfigPath() is used as ALSA_CONFIG_PATH.
#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <string>

class SoundServer {
public:
    static constexpr const char* kSineSource = "sine_input";
    static constexpr const char* kNullSink = "out";

    SoundServer();
    ~SoundServer();  // stops the server
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString address() const;  // "unix:<socket>"
    QString alsaConfigPath() const;

    // Points this process's sound clients (libpulse) at the server, or at none (ALSA only).
    void UseInThisProcess() const;
    static void ForgetInThisProcess();

    // Runs pactl against the server; its output in `out`.
    bool Pactl(const QStringList& args, QString* out = nullptr) const;

private:
    QTemporaryDir m_dir;  // a short path without spaces: the server's arguments are words
    QProcess m_server;
    QString m_error;
};
