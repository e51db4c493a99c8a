#include "cli/CliCommand.h"
#include "cli/CliFormats.h"
#include "core/DeviceModel.h"

namespace {

QString modelNames()
{
    QStringList names;
    for (int m = 0; m < DeviceModelCount; ++m)
        names << deviceModel(m).nameText();
    return names.join(QStringLiteral(", "));
}

int runConvert(const QStringList &arguments);

} // namespace

extern const CliCommand convertCommand = {
    "convert", "convert IN OUT [--model NAME]",
    "Reads the phone book IN and writes it as OUT, both chosen by extension.\n"
    "OUT .xml is the XML phone-book text of the model, for every model; OUT .leg is\n"
    "written through the converter. The model is the one the file names, or NAME:\n"
    "ZR410Std, Morvel, KN820Std, LM630Std, ZR410Pro, MorvelⅡ (or MorvelII), KN820Pro,\n"
    "LM630Pro.\n"
    "IN .csv is a speed-dial CSV file of the older series (PQ---R, NV300R, CW214R);\n"
    "OUT .csv is the CSV export of all 4000 entries.\n",
    &runConvert};

namespace {

int runConvert(const QStringList &arguments)
{
    QStringList paths;
    int model = -1;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QStringLiteral("--model")) {
            if (i + 1 >= arguments.size())
                return usageError(convertCommand, QStringLiteral("--model needs a model name"));
            model = deviceModelByName(arguments.at(++i));
            if (model < 0)
                return usageError(
                    convertCommand,
                    QStringLiteral("Unknown model \"%1\"; the models are %2").arg(arguments.at(i), modelNames()));
        } else if (argument.startsWith(QStringLiteral("--"))) {
            return usageError(convertCommand, QStringLiteral("Unknown option \"%1\"").arg(argument));
        } else {
            paths << argument;
        }
    }
    if (paths.size() != 2)
        return usageError(convertCommand, QStringLiteral("convert needs IN and OUT"));

    const CliInputReader read = inputReader(paths.at(0));
    if (!read)
        return usageError(convertCommand, QStringLiteral("Cannot read \"%1\": the input must end in %2")
                                              .arg(paths.at(0), inputExtensions().join(QStringLiteral(", "))));
    const CliOutputWriter write = outputWriter(paths.at(1));
    if (!write)
        return usageError(convertCommand, QStringLiteral("Cannot write \"%1\": the output must end in %2")
                                              .arg(paths.at(1), outputExtensions().join(QStringLiteral(", "))));

    CliInput input = read(paths.at(0));
    for (const QString &message : input.messages)
        printMessage(message);
    if (model >= 0)
        input.book.Syubetu = model;
    for (const QString &notice : write(input.book, paths.at(1)))
        printMessage(notice);
    return ExitOk;
}

} // namespace
