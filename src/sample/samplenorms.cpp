#include "samplenorms.h"

#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"

namespace korvesta {

QString fitNormsToSample(const DemoNorms &norms, SettingsRecord &record, SettingsStore &store)
{
    if (record.CountGroupOnLecture >= norms.groupsOnLecture)
        return QString();
    record.CountGroupOnLecture = norms.groupsOnLecture;
    store.writeInt(QStringLiteral("Settings"), QStringLiteral("CountGroupOnLecture"),
                   norms.groupsOnLecture);
    return QStringLiteral("Количество групп для лекционного занятия в параметрах увеличено до %1: "
                          "столько групп слушают одну лекцию в примере.")
        .arg(norms.groupsOnLecture);
}

} // namespace korvesta
