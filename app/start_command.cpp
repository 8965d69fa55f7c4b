#include "app/start_command.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "app/qt_paths.h"
#include "app/start_texts.h"

namespace korvex {

StartCommand ParseStartCommand(const QStringList& arguments, ModuleKind kind) {
    const StartTexts& texts = StartTextsFor(kind);
    QCommandLineParser parser;
    parser.setApplicationDescription(QtText(texts.description));
    // Not Qt's help and version options: they bring a --help-all that
    // parse() leaves unanswered, and lines in Qt's words, not the program's.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QtText(texts.helpOption));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QtText(texts.versionOption));
    parser.addOption(help);
    parser.addOption(version);
    const QString file = QtText(texts.fileArgument);
    parser.addPositionalArgument(file, QtText(texts.fileHelp), QLatin1Char('[') + file + QLatin1Char(']'));

    using Action = StartCommand::Action;
    if (!parser.parse(arguments))
        return {Action::Refused, {}, parser.errorText() + QLatin1Char('\n') + parser.helpText()};
    if (parser.isSet(help)) return {Action::Help, {}, parser.helpText()};
    if (parser.isSet(version))
        return {Action::Version, {}, QCoreApplication::applicationName() + QStringLiteral(" " KORVEX_VERSION "\n")};
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) return {Action::Refused, {}, QtText(texts.oneFile) + QLatin1Char('\n') + parser.helpText()};
    if (files.isEmpty()) return {};
    return {Action::Run, QDir::cleanPath(QFileInfo(files.front()).absoluteFilePath()), {}};
}

int PrintStartCommand(const StartCommand& command) {
    const bool refused = command.action == StartCommand::Action::Refused;
    std::FILE* out = refused ? stderr : stdout;
    QString text = command.text;
    if (refused) text.prepend(QCoreApplication::applicationName() + QStringLiteral(": "));
    std::fputs(text.toLocal8Bit().constData(), out);
    std::fflush(out);
    return refused ? 1 : 0;
}

}  // namespace korvex
