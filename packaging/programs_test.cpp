// Every program we ship answers --version and --help without a display, and refuses an unknown
// option with its usage and status 2, touching nothing.
#include "vetra_version.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status;
    QString out, err;
};

Outcome run(const QString& program, const QString& argument, const QString& folder) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, {argument});
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

TEST(ShippedPrograms, AnswerVersionAndHelpAndRefuseUnknownOptions) {
    const struct {
        const char* path;
        QString name;
        bool help; // Packstart answers --version only
    } programs[] = {{VETRA_PATH, "vetra", true},
                    {LZH_PATH, "lzh", true},
                    {PACKER_PATH, "packstart-pack", true},
                    {DEMO_REGISTER_PATH, "demo_register", true},
                    {PACKSTART_PATH, "Packstart", false}};
    QTemporaryDir folder;
    for (const auto& program : programs) {
        SCOPED_TRACE(program.name.toStdString());
        const Outcome version = run(program.path, "--version", folder.path());
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.out, program.name + " " + kVetraVersion + "\n");
        if (!program.help)
            continue;
        const Outcome help = run(program.path, "--help", folder.path());
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.startsWith("usage: " + program.name)) << help.out.toStdString();
        const Outcome wrong = run(program.path, "--no-such-option", folder.path());
        EXPECT_EQ(wrong.status, 2);
        EXPECT_TRUE(wrong.err.contains("usage: " + program.name)) << wrong.err.toStdString();
        EXPECT_TRUE(wrong.out.isEmpty());
    }
    EXPECT_TRUE(QDir(folder.path()).isEmpty()) << "a program made something in its folder";
}

} // namespace
