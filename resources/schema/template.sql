-- The empty document: every table of an institution's timetable, the saved-query table and
-- the first entries of the type lists. Text columns compare without regard to letter case
-- (the program registers a Unicode-aware NOCASE). No index is ordered by NOCASE: other SQLite
-- programs have an ASCII-only NOCASE of their own and would find such an index out of order
-- (the tables of names hold hundreds of rows, which a scan reads at once). Dates are ISO
-- text, Booleans 0 and 1.
-- Declared types tell the engine how to read a value back: INTEGER (Long), SMALLINT
-- (Integer), TEXT, DATETEXT (a date kept as text, so it never turns into a number), BOOLEAN.

CREATE TABLE tblGroups (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Group" TEXT COLLATE NOCASE,
    "Course" TEXT COLLATE NOCASE,
    "GroupColor" INTEGER,
    "Key_TypeFaculty" INTEGER,
    "Key_TypeTuition" INTEGER,
    "Key_TypeFinance" INTEGER,
    "Comment" TEXT COLLATE NOCASE
);

CREATE TABLE tblDisciplines (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Discipline" TEXT COLLATE NOCASE,
    "Discipline1" TEXT COLLATE NOCASE,
    "DiscType" INTEGER,
    "DiscColor" INTEGER,
    "LevelDiff" SMALLINT
);

CREATE TABLE tblAuditories (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Auditoria" TEXT COLLATE NOCASE,
    "Corpus" TEXT COLLATE NOCASE,
    "CommentAud" TEXT COLLATE NOCASE
);

CREATE TABLE tblTutors (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Tutor" TEXT COLLATE NOCASE,
    "DefaultAud" TEXT COLLATE NOCASE
);

CREATE TABLE tblTypeFaculty (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "TypeFaculty" TEXT COLLATE NOCASE,
    "Visible" BOOLEAN NOT NULL DEFAULT 1
);

CREATE TABLE tblTypeTuition (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "TypeTuition" TEXT COLLATE NOCASE
);

CREATE TABLE tblTypeFinance (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "TypeFinance" TEXT COLLATE NOCASE
);

CREATE TABLE tblDiscType (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Type" TEXT COLLATE NOCASE,
    "Priory" INTEGER,
    "Visible" BOOLEAN NOT NULL DEFAULT 1
);

CREATE TABLE tblTypeLesson (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "ShortTypeLesson" TEXT COLLATE NOCASE,
    "LongTypeLesson" TEXT COLLATE NOCASE
);

CREATE TABLE tblTutorTypeOut (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "TypeOut" TEXT COLLATE NOCASE
);

CREATE TABLE tblTimeLesson (
    "Lesson" SMALLINT,
    "TimeLesson" TEXT COLLATE NOCASE
);
CREATE INDEX idxTimeLessonLesson ON tblTimeLesson ("Lesson");

CREATE TABLE tblJob (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Key_Tutor" INTEGER,
    "Key_Discipline" INTEGER
);
CREATE INDEX idxJobTutor ON tblJob ("Key_Tutor", "Key_Discipline");
CREATE INDEX idxJobDiscipline ON tblJob ("Key_Discipline");

CREATE TABLE tblJobList (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Key_Job" INTEGER,
    "Key_Group" INTEGER,
    "Hours" INTEGER,
    "DateExam" DATETEXT
);
CREATE INDEX idxJobListJob ON tblJobList ("Key_Job", "Key_Group");
CREATE INDEX idxJobListGroup ON tblJobList ("Key_Group");

CREATE TABLE tblTimeTableList (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Date" DATETEXT,
    "ReadOnly" BOOLEAN NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX idxTimeTableListDate ON tblTimeTableList ("Date");

CREATE TABLE tblTimeTableContent (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "Key_TTList" INTEGER,
    "Lesson" SMALLINT,
    "Key_Job" INTEGER,
    "Key_Group" INTEGER,
    "SubGroup" SMALLINT,
    "Key_Aud" INTEGER,
    "Key_TypeLesson" SMALLINT
);
CREATE INDEX idxContentDay ON tblTimeTableContent ("Key_TTList", "Lesson", "Key_Group", "Key_Job",
    "Key_Aud");
CREATE INDEX idxContentJob ON tblTimeTableContent ("Key_Job", "Key_Group", "Key_TTList", "Lesson");
CREATE INDEX idxContentGroup ON tblTimeTableContent ("Key_Group");
CREATE INDEX idxContentAud ON tblTimeTableContent ("Key_Aud");

-- The lessons the automatic compilation placed, as it placed them (Key is the lesson's): one
-- the planner has moved since no longer matches its row and counts as the planner's own.
CREATE TABLE tblCompiledLessons (
    "Key" INTEGER PRIMARY KEY,
    "Key_TTList" INTEGER,
    "Lesson" SMALLINT,
    "Key_Job" INTEGER,
    "Key_Group" INTEGER,
    "Key_Aud" INTEGER
);

CREATE TABLE tblNotes (
    "Key_TTL" INTEGER,
    "Note" TEXT COLLATE NOCASE
);
CREATE INDEX idxNotesDay ON tblNotes ("Key_TTL");

CREATE TABLE tblAutoTable (
    "Key" INTEGER PRIMARY KEY AUTOINCREMENT,
    "DateType" TEXT COLLATE NOCASE,
    "DateStart" DATETEXT,
    "DateEnd" DATETEXT
);

CREATE TABLE tblTutorOut (
    "KeyTutor" INTEGER,
    "FreeDay" SMALLINT,
    "FreeLesson" SMALLINT,
    "FreeLocalDate" DATETEXT,
    "KeyTypeOut" SMALLINT
);
CREATE INDEX idxTutorOutTutor ON tblTutorOut ("KeyTutor");

-- Saved queries: name and text in the program's SQL dialect.
CREATE TABLE sysQueries (
    "Name" TEXT NOT NULL COLLATE NOCASE,
    "SQL" TEXT NOT NULL,
    PRIMARY KEY ("Name" COLLATE BINARY)
);

-- First entries of the type lists. A group or discipline entered without a type carries
-- key 1, and such a group is looked up with the texts "отсутствует", "Очная", "Бюджетная".
INSERT INTO tblTypeFaculty ("TypeFaculty", "Visible") VALUES ('отсутствует', 1);
INSERT INTO tblTypeTuition ("TypeTuition") VALUES ('Очная'), ('Заочная'), ('Вечерняя'),
    ('Дистанционная');
INSERT INTO tblTypeFinance ("TypeFinance") VALUES ('Бюджетная'), ('Внебюджетная');
INSERT INTO tblDiscType ("Type", "Priory", "Visible") VALUES ('отсутствует', 0, 1);
INSERT INTO tblTutorTypeOut ("TypeOut") VALUES ('Отгул'), ('По болезни'), ('Коммандировка'),
    ('Отпуск');
INSERT INTO tblTypeLesson ("ShortTypeLesson", "LongTypeLesson") VALUES
    ('Лек', 'Лекция'), ('Пр', 'Практическое занятие'), ('Лаб', 'Лабораторная работа'),
    ('Сем', 'Семинар');
