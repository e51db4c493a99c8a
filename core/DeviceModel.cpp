#include "core/DeviceModel.h"

namespace {

constexpr DeviceModel Models[DeviceModelCount] = {
    {0, u"ZR410Std", u"ZR410Std", u"", RingVocabulary::Long, 1000, 3, 11, false, false, false,
     u"Celdraの場合は1000件分保存されます"},
    {1, u"Morvel", u"VB150", u"", RingVocabulary::Short, 1000, 3, 7, false, false, false,
     u"Morvelの場合は1000件分保存されます"},
    {2, u"KN820Std", u"KN820Std", u"KN820Std", RingVocabulary::Long, 4000, 4, 11, true, true, true},
    {3, u"LM630Std", u"LM630Std", u"LM630Std", RingVocabulary::Long, 4000, 4, 11, true, true, true},
    {4, u"ZR410Pro", u"ZR410Pro", u"", RingVocabulary::Long, 1000, 3, -1, false, false, false,
     u"Celdraは1000件分保存されます"},
    {5, u"MorvelⅡ", u"VB150", u"VB150", RingVocabulary::Short, 4000, 4, 7, true, true, true},
    {6, u"KN820Pro", u"KN820Pro", u"KN820Pro", RingVocabulary::Long, 4000, 4, -1, true, true, true},
    {7, u"LM630Pro", u"LM630Pro", u"LM630Pro", RingVocabulary::Long, 4000, 4, -1, true, true, true},
};

} // namespace

const DeviceModel &deviceModel(int index)
{
    if (index < 0 || index >= DeviceModelCount)
        return Models[ModelLM630Std];
    return Models[index];
}

int deviceModelByName(const QString &name)
{
    for (const DeviceModel &model : Models) {
        if (name.compare(model.nameText(), Qt::CaseInsensitive) == 0)
            return model.index;
    }
    if (name.compare(QStringLiteral("MorvelII"), Qt::CaseInsensitive) == 0)
        return ModelMorvel2;
    return -1;
}
