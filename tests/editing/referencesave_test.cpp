// Adding and editing groups, auditoriums, disciplines and tutors from the cells of an entry row.

#include "editingfixture.h"

#include <functional>

namespace korvesta {
namespace {

using Kind = ScriptedPrompts::Kind;
using Icon = Prompts::Icon;

class ReferenceSave : public EditingTest
{
protected:
    QStringList snapshot() const
    {
        return rows("SELECT * FROM tblGroups") + rows("SELECT * FROM tblAuditories")
               + rows("SELECT * FROM tblDisciplines") + rows("SELECT * FROM tblTutors");
    }
    // The one message shown, or a note of how many there were.
    QString onlyMessage() const
    {
        const QStringList texts = prompts.texts(Kind::Message);
        return texts.size() == 1 ? texts.first() : QString("%1 messages").arg(texts.size());
    }
};

struct Refusal
{
    const char *name;
    std::function<void(SettingsRecord &)> configure;
    std::function<SaveResult(ReferenceEditor &, const SampleInstitution &)> save;
    QString message;
};

GroupRow group(QString course, QString name, QString comment = {})
{
    GroupRow row;
    row.course = course;
    row.group = name;
    row.comment = comment;
    return row;
}

const auto kNoSettings = [](SettingsRecord &) {};

const Refusal kRefusals[] = {
    {"group without course", kNoSettings,
     [](ReferenceEditor &e, auto &) { return e.addGroup(group("", "Н-1")); },
     "Поле Курс не должно быть пустым"},
    {"group name of blanks", kNoSettings,
     [](ReferenceEditor &e, auto &) { return e.addGroup(group("1", "   ")); },
     "Поле Группа не должно быть пустым"},
    {"faculty required", [](SettingsRecord &r) { r.UseTypeFaculty = true; },
     [](ReferenceEditor &e, auto &) { return e.addGroup(group("1", "Н-1")); },
     "Поле Факультет не должно быть пустым"},
    {"comment of 51", kNoSettings,
     [](ReferenceEditor &e, auto &) {
         return e.addGroup(group("1", "Н-1", QString(51, QChar(u'я'))));
     },
     "Поле Комментарий не должно превышать 50 знаков"},
    {"unknown faculty in use", [](SettingsRecord &r) { r.UseTypeFaculty = true; },
     [](ReferenceEditor &e, auto &) {
         GroupRow row = group("1", "Н-1");
         row.faculty = "ФФФ";
         return e.addGroup(row);
     },
     "Значение 'ФФФ' поля Факультет отсутствует в списке"},
    {"same group, other case", kNoSettings,
     [](ReferenceEditor &e, auto &) { return e.addGroup(group(" 1 ", "п-9")); },
     "Группа п-9 (1) факультет отсутствует уже существует в списке.\r\n"
     "Повторно вводить не буду"},
    {"same group in its faculty", kNoSettings,
     [](ReferenceEditor &e, auto &) {
         GroupRow row = group("2", "ис-21");
         row.faculty = "фэм";
         return e.addGroup(row);
     },
     "Группа ис-21 (2) факультет фэм уже существует в списке.\r\nПовторно вводить не буду"},
    {"group with apostrophe", kNoSettings,
     [](ReferenceEditor &e, auto &) { return e.addGroup(group("2", "д'АРТАНЬЯН")); },
     "Группа д'АРТАНЬЯН (2) факультет отсутствует уже существует в списке.\r\n"
     "Повторно вводить не буду"},
    {"edited group without course", kNoSettings,
     [](ReferenceEditor &e, auto &s) { return e.editGroup(s.p10, group(" ", "П-10")); },
     "Поле 'Курс' должно быть заполнено"},
    {"edited group as another, other faculty", kNoSettings,
     [](ReferenceEditor &e, auto &s) {
         GroupRow row = group("2", "ИС-21");
         row.faculty = "ФЭМ";
         return e.editGroup(s.isFit, row);
     },
     "Такая группа уже существует"},
    {"auditorium without name", kNoSettings,
     [](ReferenceEditor &e, auto &) {
         return e.addAuditorium({"Главный", " ", ""});
     },
     "Поле Аудитория не должно быть пустым"},
    {"auditorium in the main building", kNoSettings,
     [](ReferenceEditor &e, auto &) {
         return e.addAuditorium({"", " лаб (ХИМ) ", ""});
     },
     "Аудитория лаб (ХИМ) (корпус Главный) уже существует в списке.\r\n"
     "А по законам физики две аудитории не могут находиться в одном месте в одно время"},
    {"edited auditorium as another", kNoSettings,
     [](ReferenceEditor &e, auto &s) {
         return e.editAuditorium(s.a202, {"ГЛАВНЫЙ", "101", ""});
     },
     "Такая аудитория уже существует"},
    {"discipline type required", [](SettingsRecord &r) { r.UseTypeDiscipline = true; },
     [](ReferenceEditor &e, auto &) {
         return e.addDiscipline({"", "Хим", "Химия", {}, ""});
     },
     "Поле 'Специализация' не должно быть пустым"},
    {"discipline without full name", kNoSettings,
     [](ReferenceEditor &e, auto &) {
         return e.addDiscipline({"", "Хим", "", {}, ""});
     },
     "Поле 'Полное наименование' не должно быть пустым"},
    {"same discipline, other case", kNoSettings,
     [](ReferenceEditor &e, auto &) {
         return e.addDiscipline({"", "фИЗ", "ФИЗИКА 'ОБЩАЯ'", {}, ""});
     },
     "Дисциплина 'фИЗ (ФИЗИКА 'ОБЩАЯ')'\r\nуже существует в списке."},
    {"edited discipline as another", kNoSettings,
     [](ReferenceEditor &e, auto &s) {
         return e.editDiscipline(s.physics, {"", "МАТЕМ", "Физика", {}, ""});
     },
     "Такая дисциплина уже существует"},
    {"unknown difficulty", kNoSettings,
     [](ReferenceEditor &e, auto &) {
         return e.addDiscipline({"", "Хим", "Химия", {}, "Ад"});
     },
     "Поле 'Сложность' может принимать значения: Лёгкий, Средний, Трудный"},
    {"tutor without name", kNoSettings,
     [](ReferenceEditor &e, auto &) {
         return e.addTutor({"  ", "101 (Главный)"});
     },
     "Поле 'Преподаватель' должно быть заполнено"},
    {"same tutor, other case", kNoSettings,
     [](ReferenceEditor &e, auto &) {
         return e.addTutor({" иванов и.и. ", ""});
     },
     "Преподаватель 'иванов и.и.'\r\nуже существует в списке."},
    {"tutor with apostrophe", kNoSettings,
     [](ReferenceEditor &e, auto &) {
         return e.addTutor({"о'НИЛ", ""});
     },
     "Преподаватель 'о'НИЛ'\r\nуже существует в списке."},
    {"edited tutor as another", kNoSettings,
     [](ReferenceEditor &e, auto &s) {
         return e.editTutor(s.petrov, {"ИВАНОВ И.И.", ""});
     },
     "Такой преподаватель уже существует"},
    {"edited tutor emptied", kNoSettings,
     [](ReferenceEditor &e, auto &s) {
         return e.editTutor(s.petrov, {" ", "101"});
     },
     "0 messages"},
    {"usual auditorium not in the list", kNoSettings,
     [](ReferenceEditor &e, auto &s) {
         return e.editTutor(s.petrov, {"Петров П.П.", "999"});
     },
     "Аудитория '999' отсутствует в списке аудиторий"},
    {"new tutor's auditorium not in the list", kNoSettings,
     [](ReferenceEditor &e, auto &) {
         return e.addTutor({"Новиков", "101 (Второй)"});
     },
     "Аудитория '101 (Второй)' отсутствует в списке аудиторий"},
};

TEST_F(ReferenceSave, RefusedRowsAreToldAndWriteNothing)
{
    const QStringList before = snapshot();
    for (const Refusal &r : kRefusals) {
        SettingsRecord fresh;
        r.configure(fresh);
        settings = fresh;
        prompts.shown.clear();
        const SaveResult result = r.save(editor, s);
        EXPECT_FALSE(result.saved) << r.name;
        EXPECT_EQ(onlyMessage(), r.message) << r.name;
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(ReferenceSave, GroupsAreStoredTrimmedWithTheirTypes)
{
    GroupRow row = group(" 1а ", "  Д'Ар-2 ", QString(50, QChar(u'ё')));
    row.color = 0x00FF8000;
    row.finance = "Неизвестно"; // a hidden column: not in use, so not refused
    SaveResult saved = editor.addGroup(row);
    ASSERT_TRUE(saved.saved);
    EXPECT_EQ(rows(QString("SELECT \"Group\", Course, GroupColor, Key_TypeFaculty, "
                           "Key_TypeTuition, Key_TypeFinance FROM tblGroups WHERE Key=%1")
                       .arg(saved.key)),
              QStringList{"Д'Ар-2|1А|16744448|1|1|1"});

    // Another faculty makes another group; type names are found whatever their case.
    row = group("1", "П-9", "О'Нил");
    row.faculty = "фит";
    row.tuition = "ЗАОЧНАЯ";
    saved = editor.addGroup(row);
    ASSERT_TRUE(saved.saved);
    EXPECT_EQ(rows(QString("SELECT Key_TypeFaculty, Key_TypeTuition, Key_TypeFinance, Comment, "
                           "GroupColor IS NULL FROM tblGroups WHERE Key=%1")
                       .arg(saved.key)),
              QStringList{QString("%1|2|1|О'Нил|1").arg(s.facultyFit)});

    // Editing keeps the colour unless one is given, and its own name is no duplicate.
    b.raw(QString("UPDATE tblGroups SET GroupColor=255 WHERE Key=%1").arg(s.p10));
    row = group("1", "п-10", "после правки");
    saved = editor.editGroup(s.p10, row);
    EXPECT_TRUE(saved.saved);
    EXPECT_EQ(saved.key, s.p10);
    EXPECT_EQ(rows(QString("SELECT \"Group\", GroupColor, Comment FROM tblGroups WHERE Key=%1")
                       .arg(s.p10)),
              QStringList{"п-10|255|после правки"});
    EXPECT_EQ(prompts.texts(Kind::Message), QStringList());
}

TEST_F(ReferenceSave, AuditoriumsAndDisciplines)
{
    SaveResult saved = editor.addAuditorium({"  ", " 303 ", " у окна "});
    ASSERT_TRUE(saved.saved);
    EXPECT_EQ(rows(QString("SELECT Auditoria, Corpus, CommentAud FROM tblAuditories WHERE Key=%1")
                       .arg(saved.key)),
              QStringList{"303|Главный|у окна"});
    // The same name in another building is another auditorium.
    EXPECT_TRUE(editor.addAuditorium({"Второй", "101", ""}).saved);
    EXPECT_TRUE(editor.editAuditorium(s.a202, {"второй", "202а", ""}).saved);

    const struct
    {
        const char *level;
        int stored;
    } levels[] = {{"", 0}, {"легкий", 0}, {"Средний", 1}, {" трудный ", 2}};
    int n = 0;
    for (const auto &l : levels) {
        const QString name = QString("Хим-%1").arg(++n);
        saved = editor.addDiscipline({"ФФФ", name, "Химия", {}, l.level});
        ASSERT_TRUE(saved.saved) << l.level;
        // Without specializations the type cell is ignored and the type is 1.
        EXPECT_EQ(rows(QString("SELECT LevelDiff, DiscType FROM tblDisciplines WHERE Key=%1")
                           .arg(saved.key)),
                  QStringList{QString("%1|1").arg(l.stored)});
    }

    settings.UseTypeDiscipline = true;
    const int chemistry = b.add("tblDiscType", {"Type", "Химия", "Priory", 2});
    saved = editor.editDiscipline(s.math, {" химия ", "Матем", "Математика", {}, "Трудный"});
    EXPECT_TRUE(saved.saved);
    EXPECT_EQ(
        rows(QString("SELECT DiscType, LevelDiff FROM tblDisciplines WHERE Key=%1").arg(s.math)),
        QStringList{QString("%1|2").arg(chemistry)});
    // Same short name, other full name: a new discipline may repeat it.
    saved = editor.addDiscipline({"химия", "Матем", "Матанализ", 0x123456, ""});
    EXPECT_TRUE(saved.saved);
    EXPECT_EQ(count(QString("SELECT DiscColor FROM tblDisciplines WHERE Key=%1").arg(saved.key)),
              0x123456);
    EXPECT_EQ(prompts.texts(Kind::Message), QStringList());
}

TEST_F(ReferenceSave, TutorsWithTheirUsualAuditorium)
{
    // The usual auditorium is written as the lists name it, whatever was typed.
    SaveResult saved = editor.addTutor({"  Новиков Н.Н. ", " лаб (ХИМ) "});
    ASSERT_TRUE(saved.saved);
    const auto tutor = [this](int key) {
        return rows(QString("SELECT Tutor, coalesce(DefaultAud, '-') FROM tblTutors WHERE Key=%1")
                        .arg(key));
    };
    EXPECT_EQ(tutor(saved.key), QStringList{"Новиков Н.Н.|Лаб (хим) (Главный)"});

    // His own name in another case is no duplicate; an empty auditorium clears it.
    saved = editor.editTutor(s.ivanov, {"иванов и.и.", "202 (ВТОРОЙ)"});
    EXPECT_TRUE(saved.saved);
    EXPECT_EQ(saved.key, s.ivanov);
    EXPECT_EQ(tutor(s.ivanov), QStringList{"иванов и.и.|202 (Второй)"});
    EXPECT_TRUE(editor.editTutor(s.oneil, {"О'Нил-Смит", ""}).saved);
    EXPECT_EQ(tutor(s.oneil), QStringList{"О'Нил-Смит|-"});
    EXPECT_EQ(prompts.texts(Kind::Message), QStringList());

    // A bare name two buildings share is not guessed.
    b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Второй"});
    EXPECT_FALSE(editor.editTutor(s.petrov, {"Петров П.П.", "101"}).saved);
    EXPECT_EQ(onlyMessage(),
              "Аудитория '101' есть в нескольких корпусах:\r\nвыберите её из списка");
    EXPECT_EQ(tutor(s.petrov), QStringList{"Петров П.П.|-"});

    const std::optional<TutorRecord> found = editor.findTutor(" ИВАНОВ И.И.");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->key, s.ivanov);
    EXPECT_EQ(found->defaultAud, "202 (Второй)");
    EXPECT_FALSE(editor.findTutor("Нет такого"));
}

} // namespace
} // namespace korvesta
