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

int runConvert(const QCommandLineParser &arguments);

} // namespace

extern const CliCommand convertCommand = {
    "convert",
    "convert IN OUT [--model NAME]",
    "Reads the phone book IN and writes it as OUT, both chosen by extension.\n"
    "OUT .xml is the XML phone-book text of the model, for every model; OUT .leg is\n"
    "written through the converter. The model is the one the file names, or NAME:\n"
    "ZR410Std, Morvel, KN820Std, LM630Std, ZR410Pro, MorvelⅡ (or MorvelII), KN820Pro,\n"
    "LM630Pro.\n"
    "IN .csv is a speed-dial CSV file of the older series (PQ---R, NV300R, CW214R);\n"
    "OUT .csv is the CSV export of all 4000 entries.\n",
    {{"model", "--model needs a model name"}},
    &runConvert};

namespace {

int runConvert(const QCommandLineParser &arguments)
{
    int model = -1;
    if (arguments.isSet(QStringLiteral("model"))) {
        const QString name = arguments.value(QStringLiteral("model"));
        model = deviceModelByName(name);
        if (model < 0)
            return usageError(convertCommand,
                              QStringLiteral("Unknown model \"%1\"; the models are %2").arg(name, modelNames()));
    }
    const QStringList paths = arguments.positionalArguments();
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
