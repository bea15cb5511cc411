// Objects named on a command line: every spelling a script may use, the names several objects
// share, and the one form printed back.

#include "data/database.h"
#include "data/institutionbuilder.h"
#include "editing/objectnames.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class ObjectNames : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const int it = b.add("tblTypeFaculty", {"TypeFaculty", "ИТ"});
        const int eco = b.add("tblTypeFaculty", {"TypeFaculty", "Эк"});
        p9first = b.add("tblGroups", {"Group", "П-9", "Course", "1"});
        b.add("tblGroups", {"Group", "П-9", "Course", "2"});
        is1it = b.add("tblGroups", {"Group", "ИС-1", "Course", "1", "Key_TypeFaculty", it});
        b.add("tblGroups", {"Group", "ИС-1", "Course", "1", "Key_TypeFaculty", eco});
        ivanov = b.add("tblTutors", {"Tutor", "Иванов И.И."});
        b.add("tblTutors", {"Tutor", "Петров П.П."});
        b.add("tblTutors", {"Tutor", "Петров А.А."});
        room109 = b.add("tblAuditories", {"Auditoria", "109", "Corpus", "Главный"});
        b.add("tblAuditories", {"Auditoria", "110", "Corpus", "Главный"});
        b.add("tblAuditories", {"Auditoria", "110", "Corpus", "Корпус Б"});
        maths = b.add("tblDisciplines", {"Discipline", "Матем", "Discipline1", "Математика"});
    }
    void TearDown() override { Database::forgetAll(); }

    QString found(NamedKind kind, const QString &text)
    {
        const ObjectLookup l = findObject(Database::open(path), kind, text);
        return l.object ? QString::number(l.object->key) + '|' + l.object->canonical : l.error;
    }

    TestFolder folder;
    QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    int p9first = 0, is1it = 0, ivanov = 0, room109 = 0, maths = 0;
};

TEST_F(ObjectNames, TakesEverySpellingOfOneObject)
{
    const QString p9 = QString("%1|П-9 (1)").arg(p9first);
    for (const char *text : {"П-9 (1)", "П-9  (1)", "п-9 (1)", "  П-9   (1) ", "П-9(1)"})
        EXPECT_EQ(found(NamedKind::Group, text), p9) << text;
    EXPECT_EQ(found(NamedKind::Group, "ИС-1 (1) ит"), QString("%1|ИС-1 (1) ИТ").arg(is1it));
    for (const char *text : {"Иванов И.И.", "иванов  и.и.", "Иванов"})
        EXPECT_EQ(found(NamedKind::Tutor, text), QString("%1|Иванов И.И.").arg(ivanov)) << text;
    for (const char *text : {"109 (Главный)", "109", "109 (главный)"})
        EXPECT_EQ(found(NamedKind::Auditorium, text), QString("%1|109 (Главный)").arg(room109))
            << text;
    for (const char *text : {"Матем", "математика", "МАТЕМ"})
        EXPECT_EQ(found(NamedKind::Discipline, text), QString("%1|Матем").arg(maths)) << text;
}

TEST_F(ObjectNames, RefusesANameSeveralObjectsShareWithTheirNames)
{
    EXPECT_EQ(found(NamedKind::Group, "П-9"),
              "«П-9» подходит нескольким группам: П-9 (1), П-9 (2) - укажите точнее");
    EXPECT_EQ(found(NamedKind::Group, "ИС-1 (1)"),
              "«ИС-1 (1)» подходит нескольким группам: ИС-1 (1) ИТ, ИС-1 (1) Эк - укажите точнее");
    EXPECT_EQ(found(NamedKind::Tutor, "Петров"),
              "«Петров» подходит нескольким преподавателям: Петров А.А., Петров П.П. - укажите "
              "точнее");
    EXPECT_EQ(found(NamedKind::Auditorium, "110"),
              "«110» подходит нескольким аудиториям: 110 (Главный), 110 (Корпус Б) - укажите "
              "точнее");
    EXPECT_EQ(found(NamedKind::Group, "П-9 (3)"), "Нет группы «П-9 (3)»");
    EXPECT_EQ(found(NamedKind::Tutor, "Сидоров"), "Нет преподавателя «Сидоров»");
    EXPECT_EQ(found(NamedKind::Auditorium, ""), "Не указано имя аудитории");
    // A canonical name is taken back as it is printed.
    EXPECT_EQ(found(NamedKind::Tutor, "Петров П.П.").section('|', 1), "Петров П.П.");
}

} // namespace
} // namespace korvesta
