#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace app {

// What zorvel's command line asks for. An option that changes a run is one
// more row in commandline.cpp and one more field here.
struct CommandLine {
    enum class Answer {
        Start,   // run the program
        Help,    // print helpText() and end
        Version, // print versionText() and end
        Mistake, // print `error` and end with status 2
    };
    Answer answer = Answer::Start;
    QString error;
    // --auto-idle MINUTES: the "autoidle" key to store before the start
    // (0 turns auto-idle off).
    std::optional<int> autoIdleMinutes;
};

// Reads the arguments that follow the program's name.
CommandLine parseCommandLine(const QStringList &arguments);

// What zorvel is, where its settings file lives and its options.
QString helpText();
QString versionText();

// Prints what a command line other than Start asks for (the help or the
// version on standard output, a mistake on standard error) and returns the
// exit status: 0, or 2 for a mistake.
int answerCommandLine(const CommandLine &command);

} // namespace app
