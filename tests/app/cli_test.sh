#!/usr/bin/env bash
# The headless subcommands as a script would use them: output, exit codes, and that a read
# leaves the file untouched.
set -u
korvesta=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Commands read the user's settings, and the sample raises its norms: keep this run's
# settings apart.
export XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/data"
failures=0

check() { # name expected actual
    if [ "$2" != "$3" ]; then
        printf 'FAIL %s\nexpected: %s\nactual:   %s\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    fi
}

doc="$dir/школа.kvt"
"$korvesta" new "$doc"; check "new exits 0" 0 $?
"$korvesta" new "$doc" 2>/dev/null; check "new refuses an existing file" 1 $?
check "a new document has a new file's permissions" \
    "$(printf '%o' $((0666 & ~$(umask))))" "$(stat -c %a "$doc")"

out=$("$korvesta" sql "$doc" "INSERT INTO tblGroups ([Group], Course) VALUES ('Д''Арт', '1')")
check "insert prints rows affected" 1 "$out"
"$korvesta" sql "$doc" "INSERT INTO tblTimeTableList ([Date], ReadOnly) VALUES (#3/14/2007#, True)" >/dev/null
"$korvesta" sql "$doc" "INSERT INTO tblNotes (Key_TTL, [Note]) VALUES (1, 'первая' & Chr(10) & 'вторая')" >/dev/null

out=$("$korvesta" sql "$doc" "SELECT tblGroups.Group, tblGroups.Comment FROM tblGroups WHERE tblGroups.Group = pG" --param "pG=д'арт")
check "select with a text parameter" "$(printf 'Group\tComment\nД'"'"'Арт\t')" "$out"

out=$("$korvesta" sql "$doc" "SELECT tblTimeTableList.Date, tblTimeTableList.ReadOnly, Max(tblTimeTableList.Date) AS M FROM tblTimeTableList GROUP BY tblTimeTableList.Date, tblTimeTableList.ReadOnly")
check "dates and Booleans" "$(printf 'Date\tReadOnly\tM\n14.03.2007\tTrue\t14.03.2007')" "$out"

out=$("$korvesta" sql "$doc" "SELECT tblNotes.Note FROM tblNotes")
check "line breaks inside a field" "$(printf 'Note\nпервая\\nвторая')" "$out"

"$korvesta" sql "$doc" "INSERT INTO tblTimeTableContent (Key_TTList, Lesson) VALUES (1, 2)" >/dev/null
"$korvesta" sql "$doc" "INSERT INTO tblJob (Key_Tutor) VALUES (1)" >/dev/null
for d in 2007-03-14 14.03.2007; do
    out=$("$korvesta" sql "$doc" "PARAMETERS pDate DateTime; SELECT Count(*) AS N FROM tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE tblTimeTableList.Date = pDate" --param "pDate=$d")
    check "date parameter $d" "$(printf 'N\n1')" "$out"
done

before=$(sha1sum "$doc")
"$korvesta" sql "$doc" "SELECT * FROM tblGroups" >/dev/null
check "a read leaves the file as it was" "$before" "$(sha1sum "$doc")"

"$korvesta" sql "$doc" "SELECT tblGroups.Key FROM tblGroups WHERE tblGroups.Key = pKey" >/dev/null 2>"$dir/err"
check "missing parameter exits 1" 1 $?
grep -q 'pKey' "$dir/err"; check "missing parameter is named" 0 $?

"$korvesta" sql "$doc" "SELECT tblGroups.Key FROM tblGroups WHERE (((tblGroups.Key=1)" >/dev/null 2>"$dir/err"
check "bad statement exits 1" 1 $?
grep -q 'позиция' "$dir/err"; check "bad statement says where" 0 $?

printf 'not a document' > "$dir/bad.kvt"
"$korvesta" sql "$dir/bad.kvt" "SELECT 1" >/dev/null 2>"$dir/err"
check "foreign file exits 3" 3 $?
grep -q 'Некорректный формат базы данных' "$dir/err"; check "foreign file message" 0 $?
check "foreign file untouched" "not a document" "$(cat "$dir/bad.kvt")"

"$korvesta" sql "$dir/none.kvt" "SELECT 1" >/dev/null 2>&1
check "missing file exits 3" 3 $?
[ ! -e "$dir/none.kvt" ]; check "missing file not created" 0 $?

"$korvesta" sql >/dev/null 2>&1
check "sql without arguments exits 2" 2 $?

out=$("$korvesta" sql "$doc" "DELETE tblTimeTableContent.* FROM tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE (((tblTimeTableList.Date)=#3/14/2007#));")
check "delete through a join" 1 "$out"

sample="$dir/пример.kvt"
out=$("$korvesta" demo "$sample"); check "demo exits 0" 0 $?
case $out in *"Количество групп для лекционного занятия в параметрах увеличено до"*) ok=0 ;; *) ok=1 ;; esac
check "demo raises the lecture norm for its lectures" 0 $ok
out=$("$korvesta" demo "$dir/second.kvt"); check "demo prints nothing once the norm allows it" "" "$out"
out=$("$korvesta" sql "$sample" "SELECT Count(*) AS N FROM tblGroups")
check "the sample has its groups" "$(printf 'N\n10')" "$out"
"$korvesta" demo "$sample" 2>/dev/null; check "demo refuses an existing file" 1 $?
"$korvesta" demo "$dir/other.kvt" --size huge 2>/dev/null; check "demo with an unknown size exits 2" 2 $?
[ ! -e "$dir/other.kvt" ]; check "no sample of an unknown size" 0 $?

# The next academic year: a new document from the sample's lists, the sample only read.
end=$("$korvesta" sql "$sample" "SELECT DateEnd FROM tblAutoTable WHERE DateType = 'Session'" | tail -1)
next="01.09.${end##*.}"
before=$(sha1sum "$sample")
out=$("$korvesta" new-year "$sample" "$dir/следующий.kvt" --start "$next" --keep-load)
check "new-year exits 0" 0 $?
check "new-year names the new study period" "Учебный период: $next - 30.06.$((${end##*.} + 1))" "$(head -1 <<<"$out")"
check "new-year leaves this year's document as it was" "$before" "$(sha1sum "$sample")"
out=$("$korvesta" sql "$dir/следующий.kvt" "SELECT Count(*) AS N FROM tblTimeTableContent")
check "the new year has no lessons" "$(printf 'N\n0')" "$out"
"$korvesta" new-year "$sample" "$dir/рано.kvt" --start "$end" 2>"$dir/err"
check "a new year inside this one is refused" 1 $?
grep -q 'после конца текущего учебного периода' "$dir/err"; check "the refusal says why" 0 $?
"$korvesta" new-year "$sample" --start "$next" 2>/dev/null; check "new-year without a target exits 2" 2 $?

# Every subcommand, given a document that is not there: 3, whatever else it is asked.
missing="$dir/нет такого.kvt"
while IFS= read -r line; do
    eval "args=($line)"
    "$korvesta" "${args[@]}" >/dev/null 2>&1
    check "${args[0]} of a missing document exits 3" 3 $?
done <<'COMMANDS'
view "$missing" 0
export "$missing" 0 "$dir/нет.xlsx"
report "$missing" "Расписание группы" --object "П-1 (1)" --out "$dir/нет.pdf"
load "$missing" hours --tutor "Иванов И.И." --discipline Матем --group "П-1  (1)" --hours 2
place "$missing" --date 01.09.2026 --lesson 1 --group "П-1 (1)" --discipline Матем
auditorium "$missing" --date 01.09.2026 --lesson 1 --group "П-1 (1)" --aud "101 (Главный)"
check "$missing"
suggest "$missing" --group "П-1 (1)" --discipline Матем
cover "$missing" --tutor "Иванов И.И." --date 01.09.2026
publish "$missing" "$dir/нет-публикации"
note "$missing" --date 01.09.2026
lock "$missing" --date 01.09.2026
busy "$missing" --tutor "Иванов И.И." --reason 1 --lesson 1 --date 01.09.2026
clear "$missing" --from 01.09.2026 --to 02.09.2026 --dry-run
copy "$missing" --day 01.09.2026 --onto 02.09.2026
free "$missing" --date 01.09.2026 --lesson 1 --kind groups
options "$missing" --protect-all --dry-run
new-year "$missing" "$dir/нет-года.kvt" --start 01.09.2027
import "$missing" "$dir/нет.csv" --kind groups
sql "$missing" "SELECT 1"
names "$missing" --kind groups
generate "$missing" --from 01.09.2026 --to 05.09.2026
server-init "postgresql:///nodb?host=$dir/nowhere" --from "$missing"
server-export "postgresql:///nodb?host=$dir/nowhere" "$dir/нет-сервера.kvt"
COMMANDS

# A dry run tells what a change would do, table by table, and leaves the file as it was.
before=$(sha1sum "$sample")
out=$("$korvesta" sql "$sample" "DELETE FROM tblGroups WHERE Course = '1'" --dry-run 2>"$dir/err")
check "dry run exits 0" 0 $?
check "dry run counts the rows" "$(printf 'Таблица\tДобавлено\tИзменено\tУдалено\ntblGroups\t0\t0\t6')" "$out"
grep -q 'Пробный запуск: документ не изменён' "$dir/err"; check "dry run says so" 0 $?
check "dry run leaves the file as it was" "$before" "$(sha1sum "$sample")"
out=$("$korvesta" sql "$sample" "UPDATE tblTutors SET Tutor = Tutor WHERE False" --dry-run 2>/dev/null)
check "dry run of a change of nothing" "$(printf 'Таблица\tДобавлено\tИзменено\tУдалено')" "$out"

"$korvesta" view "$sample" 99 >/dev/null 2>"$dir/err"; check "unknown view code exits 2" 2 $?
grep -q 'Неизвестный код вида: 99' "$dir/err"; check "unknown view code is named" 0 $?
"$korvesta" view "$dir/none.kvt" 0 >/dev/null 2>&1; check "view of a missing file exits 3" 3 $?
"$korvesta" view "$dir/bad.kvt" 0 >/dev/null 2>"$dir/err"; check "view of a foreign file exits 3" 3 $?
grep -q 'Некорректный формат базы данных' "$dir/err"; check "view of a foreign file says so" 0 $?
"$korvesta" view "$sample" 40 --date 31.02.2026 >/dev/null 2>&1
check "view with an impossible date exits 2" 2 $?
"$korvesta" view "$sample" 0 --set "Settings/UseTypeFaculty=False" >/dev/null
check "view with a setting for this run exits 0" 0 $?
[ ! -e "$dir/config/Korvesta/Korvesta.ini" ] || ! grep -q UseTypeFaculty "$dir/config/Korvesta/Korvesta.ini"
check "a setting for this run is not written" 0 $?

out=$("$korvesta" view "$sample" 0 2>/dev/null)
check "group list header" "$(printf '\tКурс\tГруппа\tЦвет\tФакультет\tФорма обучения\tФинансирование\tКомментарий')" "$(head -1 <<<"$out")"
check "group list totals" "$(printf '\tВсего курсов: 3\tВсего групп: 10\t\t\t\t\t')" "$(tail -1 <<<"$out")"
out=$("$korvesta" view "$sample" 2 --object "ис-11" 2>/dev/null | head -1)
check "group passport of one group" "$(printf 'Дисциплина\tПреподаватель\tЗадано\tОтработано\tОсталось\tДата последнего урока\tДата экзамена')" "$out"
"$korvesta" view "$sample" 2 --object "Нет такой" >/dev/null 2>&1; check "missing object exits 1" 1 $?
# A group of the same name in another course: reached by its course, the bare name refused.
twin="$dir/двойник.kvt"
cp "$sample" "$twin"
"$korvesta" sql "$twin" "INSERT INTO tblGroups ([Group], Course) VALUES ('ИС-11', '2')" >/dev/null
"$korvesta" view "$twin" 2 --object "ис-11  (2)" >/dev/null 2>&1; check "a group reached by its course" 0 $?
"$korvesta" view "$twin" 2 --object "ИС-11" >/dev/null 2>"$dir/err"; check "an ambiguous object exits 2" 2 $?
grep -q 'ИС-11 (1), ИС-11 (2)' "$dir/err"; check "an ambiguous object names the candidates" 0 $?
out=$("$korvesta" view "$sample" 40 --format html 2>/dev/null)
grep -q '<th colspan="[0-9]*"[^>]*>1 курс</th>' <<<"$out"; check "day view as html merges the course" 0 $?

# The export writes the view's sheet, and nothing for a view it does not export.
out=$("$korvesta" export "$sample" 41 "$dir/неделя.xlsx" --date 12.10.2026 2>/dev/null)
check "export exits 0" 0 $?
check "export tells the file" "Таблица записана: $dir/неделя.xlsx" "$out"
check "the sheet is a zip file" "PK" "$(head -c 2 "$dir/неделя.xlsx")"
"$korvesta" export "$sample" 43 "$dir/занятость.xlsx" >/dev/null 2>"$dir/err"
check "export of a view outside the table exits 2" 2 $?
grep -q 'Вид 43 не выгружается в MS Excel' "$dir/err"; check "the view is named" 0 $?
[ ! -e "$dir/занятость.xlsx" ]; check "nothing is written for it" 0 $?
"$korvesta" export "$sample" 0 "$dir" >/dev/null 2>"$dir/err"
check "export to a folder exits 1" 1 $?
grep -q 'это папка' "$dir/err"; check "export to a folder says so" 0 $?

# Another SQLite program finds the sample consistent, and the program's writes keep it so.
if command -v sqlite3 >/dev/null; then
    check "the shell finds the sample sound" ok "$(sqlite3 "$sample" 'PRAGMA integrity_check')"
    sqlite3 "$sample" "INSERT INTO tblGroups ([Group], Course) VALUES ('ЖУ-41', '4'), ('жу-42', '4')"
    out=$("$korvesta" sql "$sample" "SELECT Count(*) AS N FROM tblGroups WHERE [Group] = 'жу-41' OR [Group] = 'ЖУ-42'")
    check "rows the shell wrote are found by name" "$(printf 'N\n2')" "$out"
    "$korvesta" sql "$sample" "UPDATE tblGroups SET [Group] = 'Ёж-43' WHERE [Group] = 'жу-42'" >/dev/null
    check "the shell finds the sample sound after the program wrote" ok \
        "$(sqlite3 "$sample" 'PRAGMA integrity_check')"

    # A document of the layout before: a view reads it as it is, a change brings it up to date.
    old="$dir/старый.kvt"
    cp "$sample" "$old"
    sqlite3 "$old" "CREATE INDEX IF NOT EXISTS idxGroupsGroup ON tblGroups ([Group], Course); DROP INDEX idxContentDay; CREATE INDEX idxContentDay ON tblTimeTableContent (Key_TTList, Lesson); PRAGMA user_version = 1"
    before=$(sha1sum "$old")
    "$korvesta" view "$old" 0 >/dev/null 2>&1
    "$korvesta" sql "$old" "SELECT Count(*) FROM tblGroups" >/dev/null 2>&1
    check "a view writes nothing to an older document" "$before" "$(sha1sum "$old")"
    "$korvesta" sql "$old" "UPDATE tblGroups SET Comment = 'x' WHERE Key = 1" >/dev/null
    check "a change brings an older document up to date" 6 "$(sqlite3 "$old" 'PRAGMA user_version')"
    check "without the index on names" "" "$(sqlite3 "$old" "SELECT name FROM sqlite_master WHERE name = 'idxGroupsGroup'")"
    check "with the lessons' index that covers a date's reads" 5 "$(sqlite3 "$old" "SELECT count(*) FROM pragma_index_info('idxContentDay')")"

    # A document of a later version is read and never written.
    newer="$dir/новее.kvt"
    cp "$sample" "$newer"
    sqlite3 "$newer" "PRAGMA user_version = 99"
    before=$(sha1sum "$newer")
    out=$("$korvesta" sql "$newer" "SELECT Count(*) AS N FROM tblTutors WHERE Key = 1")
    check "a later version's document is read" "$(printf 'N\n1')" "$out"
    "$korvesta" sql "$newer" "DELETE * FROM tblTutors" >/dev/null 2>"$dir/err"
    check "a later version's document refuses a change" 1 $?
    grep -q 'более новой версией программы' "$dir/err"; check "and says why" 0 $?
    check "a later version's document is left as it was" "$before" "$(sha1sum "$newer")"

    # A saved query cut short by a NUL character.
    sqlite3 "$doc" "INSERT INTO sysQueries (Name, SQL) VALUES ('qryCut', 'SELECT 1 AS A' || char(0) || ', 2 AS B')"
    "$korvesta" sql "$doc" qryCut >/dev/null 2>"$dir/err"; check "a cut query exits 1" 1 $?
    grep -q 'нулевой символ' "$dir/err"; check "a cut query is named damaged" 0 $?
fi

"$korvesta" sql "$doc" qryGroupz >/dev/null 2>"$dir/err"; check "a mistyped query name exits 1" 1 $?
grep -q 'Запрос «qryGroupz» не найден' "$dir/err"; check "a mistyped query name is not found" 0 $?
out=$("$korvesta" sql "$doc" tblTutors); check "a table's name shows the table" "$(printf 'Key\tTutor\tDefaultAud')" "$out"

mkdir "$dir/каталог.kvt"
"$korvesta" sql "$dir/каталог.kvt" "SELECT 1" >/dev/null 2>"$dir/err"; check "sql of a folder exits 3" 3 $?
grep -q "это папка" "$dir/err"; check "sql of a folder says it is a folder" 0 $?
"$korvesta" view "$dir/каталог.kvt" 0 >/dev/null 2>"$dir/err"; check "view of a folder exits 3" 3 $?
grep -q "это папка" "$dir/err"; check "view of a folder says it is a folder" 0 $?

# Passing files: a failed run removes its own, a killed run's are removed by the next one.
"$korvesta" demo "$dir/каталог.kvt" --force 2>/dev/null; check "demo over a folder fails" 1 $?
: >"$dir/.korvesta-demo-AbC123"; : >"$dir/.korvesta-demo-AbC123-journal"; : >"$dir/.korvesta-new-XyZ789"
"$korvesta" new "$dir/ещё.kvt"
check "no passing files are left" "" "$(ls -A "$dir" | grep '^\.korvesta-')"
# A saved query of other fields: the view is refused in Russian, not aborted.
cp "$sample" "$dir/foreign.kvt"
"$korvesta" sql "$dir/foreign.kvt" "UPDATE sysQueries SET SQL='SELECT 1 AS X' WHERE Name='qryGroups'" >/dev/null
"$korvesta" view "$dir/foreign.kvt" 0 >/dev/null 2>"$dir/err"; check "view of a foreign query exits 1" 1 $?
grep -q 'Некорректный формат базы данных' "$dir/err"; check "view of a foreign query says so" 0 $?
# A tab inside a name stays in its cell.
"$korvesta" sql "$dir/foreign.kvt" "UPDATE tblDisciplines SET Discipline = 'А' & Chr(9) & 'Б' WHERE Key = 1" >/dev/null
out=$("$korvesta" view "$dir/foreign.kvt" 10 2>/dev/null | grep -F 'А\tБ')
check "a tab in a name keeps the columns" 6 "$(awk -F'\t' '{print NF}' <<<"$out")"

# A damaged file: the view says which document it could not read.
head -c 4096 /dev/urandom >"$dir/испорчен.kvt"
"$korvesta" view "$dir/испорчен.kvt" 0 >/dev/null 2>"$dir/err"; check "view of a damaged file exits 3" 3 $?
grep -q 'Документ «.*испорчен.kvt» не открыт' "$dir/err"; check "view of a damaged file names it" 0 $?

# The teaching load: the tutors' totals add up to the hours of the whole load, and a filter
# entry leaves the lines of its course only.
out=$("$korvesta" view "$sample" 30 2>/dev/null | awk -F'\t' '$2 ~ /^ИТОГО/ {gsub(/ /, "", $6); s += $6; n++} END {print n "|" s}')
hours=$("$korvesta" sql "$sample" "SELECT Count(*) AS N FROM tblJobList" | tail -1)
tutors=$("$korvesta" sql "$sample" "SELECT Count(*) AS N FROM (SELECT DISTINCT Key_Tutor FROM tblJob INNER JOIN tblJobList ON tblJob.Key = tblJobList.Key_Job)" | tail -1)
check "the load totals every tutor" "$tutors|$("$korvesta" sql "$sample" "SELECT Sum(Hours) AS S FROM tblJobList" | tail -1)" "$out"
check "the load has a line per load line" "$hours" "$("$korvesta" view "$sample" 30 --set Settings/ShowTotals=False | tail -n +2 | wc -l)"
out=$("$korvesta" view "$sample" 30 --filter "Курс 2" | awk -F'\t' 'NR > 1 && $5 ~ /\(/ {n[$5 ~ /\(2\)/]++} END {print (n[1] > 0) "|" n[0] + 0}')
check "a course filter leaves that course" "1|0" "$out"
"$korvesta" view "$sample" 30 --filter "Курс 99" >/dev/null 2>"$dir/err"; check "an entry the menu lacks exits 2" 2 $?
grep -q 'нет «Курс 99»' "$dir/err"; check "an entry the menu lacks is named" 0 $?
# The accounting views: all tutors' hours worked over the year count every lesson once; the
# busy time shows the month of --from; reading the figures writes nothing to the document.
first=$("$korvesta" sql "$sample" "SELECT Min(Date) AS D FROM tblTimeTableList" | tail -1)
last=$("$korvesta" sql "$sample" "SELECT Max(Date) AS D FROM tblTimeTableList" | tail -1)
lessons=$("$korvesta" sql "$sample" "SELECT Count(*) AS N FROM tblTimeTableContent INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key" | tail -1)
taught=$("$korvesta" sql "$sample" "SELECT Count(*) AS N FROM (SELECT DISTINCT Key_Tutor FROM tblJob INNER JOIN tblTimeTableContent ON tblJob.Key = tblTimeTableContent.Key_Job)" | tail -1)
before=$(sha1sum "$sample")
out=$("$korvesta" view "$sample" 35 --from "$first" --to "$last" 2>/dev/null | tail -1 | awk -F'\t' '{gsub(/ /, "", $5); print $2 "|" $5}')
check "all tutors' hours worked count every lesson" "$taught чел.|$lessons" "$out"
tutor=$("$korvesta" sql "$sample" "SELECT Tutor FROM tblTutors WHERE Key = 1" | tail -1)
given=$("$korvesta" sql "$sample" "SELECT Count(*) AS N FROM tblTimeTableContent INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key WHERE tblJob.Key_Tutor = 1" | tail -1)
out=$("$korvesta" view "$sample" 33 --object "$tutor" --from "$first" --to "$last" 2>/dev/null | tail -1 | awk -F'\t' '{gsub(/ /, "", $6); print $3 "|" $6}')
check "a tutor's timesheet totals his lessons" "ВСЕГО|$given" "$out"
year=${last:6:4}
weekdays=(пн вт ср чт пт сб вс)
out=$("$korvesta" view "$sample" 43 --object "$tutor" --from "01.02.$year" 2>/dev/null | sed -n 2p | cut -f3)
check "busy time shows the month of the period's start" "${weekdays[$(date -d "$year-02-01" +%u) - 1]}" "$out"
check "the accounting views write nothing" "$before" "$(sha1sum "$sample")"
"$korvesta" view "$sample" 34 --object "$tutor" --from "$last" --to "$first" >/dev/null 2>"$dir/err"
check "a period ending before it starts exits 2" 2 $?
grep -q 'Начало периода позже его конца' "$dir/err"; check "a period ending before it starts is told" 0 $?

# The teaching load changed headlessly: the window's checks and messages, questions refused
# unless --yes, a refusal exits 1 and changes nothing.
load="$dir/нагрузка.kvt"
cp "$sample" "$load"
loadsql() { "$korvesta" sql "$load" "$1" | sed 1d; }
lines() { loadsql "SELECT Count(*) AS N FROM (tblTutors INNER JOIN tblJob ON tblTutors.Key = tblJob.Key_Tutor) INNER JOIN tblJobList ON tblJob.Key = tblJobList.Key_Job WHERE tblTutors.Tutor = 'Д''Арк Ж.'"; }
"$korvesta" load "$load" add --tutor "Д'Арк Ж." --discipline ОБЖ --group "ИС-11  (1)" --hours 20 2>"$dir/err"
check "a new tutor unconfirmed exits 1" 1 $?
grep -q '^Продолжить?$' "$dir/err"; check "the confirmation is printed" 0 $?
check "an unconfirmed tutor is not added" 0 "$(loadsql "SELECT Count(*) AS N FROM tblTutors WHERE tblTutors.Tutor = 'Д''Арк Ж.'")"
"$korvesta" load "$load" add --tutor "Д'Арк Ж." --discipline ОБЖ --group "ИС-11  (1)" --hours 20 --yes
check "a new tutor with --yes exits 0" 0 $?
"$korvesta" load "$load" add --tutor "Проба" --discipline ОБЖ --group "ИС-11  (1)" --hours 2 --yes --dry-run 2>/dev/null
check "a trial exits 0" 0 $?
check "a trial writes nothing" 0 "$(loadsql "SELECT Count(*) AS N FROM tblTutors WHERE tblTutors.Tutor = 'Проба'")"
"$korvesta" load "$load" add --tutor "д'арк ж." --discipline Черчение --group "ИС-12  (1)" --hours 12
check "a discipline for a tutor named in other case" 0 $?
check "the tutor has two lines" 2 "$(lines)"
"$korvesta" load "$load" add --tutor "Д'Арк Ж." --discipline Черчение --group "ИС-12  (1)" --hours 12 2>"$dir/err"
check "a line twice exits 1" 1 $?
grep -q 'уже составлена!' "$dir/err"; check "a line twice is told" 0 $?
for h in 0 abc 12abc -3 2.5 99999999999; do
    "$korvesta" load "$load" hours --tutor "Д'Арк Ж." --discipline ОБЖ --group "ИС-11  (1)" --hours "$h" 2>/dev/null
    check "hours $h refused" 1 $?
done
"$korvesta" load "$load" hours --tutor "д'арк" --discipline ОБЖ --group "ис-11" --hours 36
check "hours changed by a surname and a bare group" "36" "$(loadsql "SELECT Max(tblJobList.Hours) AS H FROM (tblTutors INNER JOIN tblJob ON tblTutors.Key = tblJob.Key_Tutor) INNER JOIN tblJobList ON tblJob.Key = tblJobList.Key_Job WHERE tblTutors.Tutor = 'Д''Арк Ж.'")"
"$korvesta" load "$load" remove --tutor "Д'Арк Ж." --discipline Черчение --group "ИС-12  (1)" 2>/dev/null
check "a removal unconfirmed exits 1" 1 $?
"$korvesta" load "$load" remove --tutor "Д'Арк Ж." --discipline Черчение --group "ИС-12  (1)" --yes
check "a group removed" 1 "$(lines)"
"$korvesta" load "$load" remove --tutor "Д'Арк Ж." --discipline ОБЖ --yes
check "the last discipline takes the tutor" 0 "$(loadsql "SELECT Count(*) AS N FROM tblTutors WHERE tblTutors.Tutor = 'Д''Арк Ж.'")"
busy=$(loadsql "SELECT TOP 1 tblTutors.Tutor & '|' & tblDisciplines.Discipline AS T FROM (tblTutors INNER JOIN tblJob ON tblTutors.Key = tblJob.Key_Tutor) INNER JOIN tblDisciplines ON tblDisciplines.Key = tblJob.Key_Discipline WHERE tblJob.Key IN (SELECT tblTimeTableContent.Key_Job FROM tblTimeTableContent)")
"$korvesta" load "$load" remove --tutor "${busy%%|*}" --discipline "${busy#*|}" --yes 2>"$dir/err"
check "a discipline with lessons stays" 1 $?
grep -q 'Удаление невозможно' "$dir/err"; check "a discipline with lessons is told" 0 $?
"$korvesta" load "$load" move --tutor A --discipline B 2>/dev/null; check "an unknown action exits 2" 2 $?

# A date locked and unlocked headlessly, the unlock under the user's password.
readonly_of() { loadsql "SELECT ReadOnly FROM tblTimeTableList WHERE [Date] = #12/31/2030#"; }
"$korvesta" lock "$load" --date 31.12.2030 2>/dev/null
check "a date locked" "True" "$(readonly_of)"
mkdir -p "$XDG_CONFIG_HOME/Korvesta"
printf '[Settings]\nAccessEditPwd=пароль\n' > "$XDG_CONFIG_HOME/Korvesta/Korvesta.ini"
"$korvesta" lock "$load" --date 31.12.2030 --unlock --password другой 2>"$dir/err"
check "a wrong password exits 1" 1 $?
grep -q '^Неверный пароль$' "$dir/err"; check "a wrong password is told" 0 $?
"$korvesta" lock "$load" --date 31.12.2030 --unlock 2>/dev/null
check "no password given exits 1" 1 $?
"$korvesta" lock "$load" --date 31.12.2030 --unlock --password пароль 2>/dev/null
check "the right password unlocks" "False" "$(readonly_of)"
rm "$XDG_CONFIG_HOME/Korvesta/Korvesta.ini"

# The auditorium of a cell's lessons changed headlessly: an occupied one only with --yes.
cell=$(loadsql "SELECT TOP 1 Format(d.[Date], 'dd.mm.yyyy') & '|' & c.Lesson & '|' & g.[Group] & ' (' & g.Course & ')' AS T FROM (tblTimeTableContent c INNER JOIN tblTimeTableList d ON d.Key = c.Key_TTList) INNER JOIN tblGroups g ON g.Key = c.Key_Group WHERE Not d.ReadOnly ORDER BY d.[Date], c.Lesson")
IFS='|' read -r cdate clesson cgroup <<< "$cell"
"$korvesta" auditorium "$load" --date "$cdate" --lesson "$clesson" --group "$cgroup" --aud "нет такой" 2>"$dir/err"
check "an unknown auditorium exits 1" 1 $?
grep -q -- '--aud: Нет аудитории «нет такой»' "$dir/err"; check "an unknown auditorium is told" 0 $?
"$korvesta" auditorium "$load" --date "$cdate" --lesson "$clesson" --group "$cgroup" --auditorium "нет такой" 2>"$dir/err"
check "--auditorium is --aud" 1 $?
"$korvesta" auditorium "$load" --date "$cdate" --lesson "$clesson" --group "$cgroup" --aud "$(loadsql "SELECT TOP 1 Auditoria & ' (' & Corpus & ')' AS A FROM tblAuditories ORDER BY Key DESC")" --yes 2>/dev/null
check "an auditorium given with --yes" 0 $?
# Printed reports written headlessly; a read of the document leaves it as it was.
before=$(sha1sum "$sample")
tutor=$("$korvesta" sql "$sample" "SELECT TOP 1 Tutor FROM tblTutors ORDER BY Tutor" | tail -1)
"$korvesta" report "$sample" "РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ" --object "$tutor" --from 01.09.2026 \
    --to 30.09.2026 --out "$dir/р.xhtm" 2>/dev/null
check "a report exits 0" 0 $?
check "the paged page is written as .htm" "yes no" \
    "$([ -s "$dir/р.htm" ] && echo yes || echo no) $([ -e "$dir/р.xhtm" ] && echo yes || echo no)"
grep -q "<h1>Расписание преподавателя</h1>" "$dir/р.htm"; check "the report's title" 0 $?
check "a report leaves the document as it was" "$before" "$(sha1sum "$sample")"
"$korvesta" report "$sample" "СПИСОК ГРУПП" --out "$dir/группы.pdf" 2>/dev/null
check "a PDF is a PDF" "%PDF" "$(head -c 4 "$dir/группы.pdf")"
"$korvesta" report "$sample" "РАСПИСАНИЕ ЗВОНКОВ" --out "$dir/x.pdf" 2>"$dir/err"
check "an unknown report exits 2" 2 $?
grep -q 'Неизвестный отчёт: «РАСПИСАНИЕ ЗВОНКОВ»' "$dir/err"; check "an unknown report is named" 0 $?
"$korvesta" report "$sample" "РАСПИСАНИЕ ГРУППЫ" --object "Нет такой" --out "$dir/x.txt" 2>/dev/null
check "a report of a missing object exits 1" 1 $?
"$korvesta" report "$sample" "НАГРУЗКА" --out "$dir/x.doc" 2>/dev/null
check "a report to an unknown kind of file exits 2" 2 $?
"$korvesta" report "$sample" "НАГРУЗКА" --out "$dir/нет/x.txt" 2>"$dir/err"
check "a report to a missing folder exits 1" 1 $?
grep -q 'Не удалось записать файл' "$dir/err"; check "a report not written is told" 0 $?

# A date's note written, read back whole and deleted headlessly.
text=$'Педсовет в 15:00\nКабинет \'директора\' * ? #'
"$korvesta" note "$load" --date 31.12.2030 --text "$text"
check "a note written" 0 $?
check "a note read back whole" "$text" "$("$korvesta" note "$load" --date 31.12.2030)"
"$korvesta" note "$load" --date 31.12.2030 --text ""
check "an emptied note is deleted" 0 "$(loadsql "SELECT Count(*) AS N FROM tblNotes INNER JOIN tblTimeTableList ON tblTimeTableList.Key = tblNotes.Key_TTL WHERE tblTimeTableList.[Date] = #12/31/2030#")"

# The timetable check: the sample is clash-free; a lesson planted beside another is an error.
checked="$dir/проверка.kvt"
cp "$sample" "$checked"
"$korvesta" check "$checked" >/dev/null 2>&1
check "a clash-free timetable exits 0" 0 $?
"$korvesta" sql "$checked" "INSERT INTO tblTimeTableContent (Key_TTList, Key_Job, Key_Group, Lesson, Key_Aud, SubGroup, Key_TypeLesson) SELECT TOP 1 Key_TTList, Key_Job, Key_Group, Lesson, Key_Aud, SubGroup, Key_TypeLesson FROM tblTimeTableContent" >/dev/null
"$korvesta" check "$checked" --format tsv > "$dir/check.tsv" 2>/dev/null
check "a clash exits 1" 1 $?
grep -q '^У группы два занятия одновременно' "$dir/check.tsv"; check "the clash is listed" 0 $?
"$korvesta" check "$dir/нет.kvt" 2>/dev/null; check "a missing document exits 3" 3 $?
# The study period, holidays, lesson times and faculties written headlessly, with the
# dialog's refusals.
opt="$dir/настройки.kvt"
"$korvesta" new "$opt"
"$korvesta" options "$opt" --study-from 01.09.2026 --study-to 30.06.2027 --holiday 04.11.2026 \
    --holiday 28.12.2026..10.01.2027 --lesson-time 1=08:30-09:15 --faculty ФИТ
check "options exit 0" 0 $?
out=$("$korvesta" sql "$opt" "SELECT DateType, DateStart, DateEnd FROM tblAutoTable ORDER BY DateStart")
check "the study period and holidays" "$(printf 'DateType\tDateStart\tDateEnd\nSession\t01.09.2026\t30.06.2027\nSelebrate\t04.11.2026\t\nRest\t28.12.2026\t10.01.2027')" "$out"
"$korvesta" options "$opt" --holiday 05.01.2027 2>"$dir/err"
check "an overlapping holiday exits 1" 1 $?
check "an overlapping holiday is told" "Пересекающиеся периоды" "$(cat "$dir/err")"
"$korvesta" options "$opt" --faculty фит 2>/dev/null; check "a faculty twice exits 1" 1 $?
"$korvesta" options "$opt" --holiday 01.02.2027..03.02.2027 --dry-run >/dev/null 2>&1
out=$("$korvesta" sql "$opt" "SELECT Count(*) AS N FROM tblAutoTable")
check "a dry run writes nothing" "$(printf 'N\n3')" "$out"
"$korvesta" options "$opt" 2>/dev/null; check "options without a change exit 2" 2 $?
# Free and busy objects of a lesson: a column of states, lesson 0 read as lesson 1, nothing
# written.
before=$(sha1sum "$sample")
busyday=$("$korvesta" sql "$sample" "SELECT TOP 1 tblTimeTableList.Date FROM tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList GROUP BY tblTimeTableList.Date ORDER BY Count(*) DESC, tblTimeTableList.Date" | tail -1)
out=$("$korvesta" free "$sample" --date "$busyday" --lesson 1 --kind auditoriums)
check "free exits 0" 0 $?
check "free lists the kind's headings and the state" "$(printf 'Аудитории\tКорпус\tСостояние')" "$(head -1 <<<"$out")"
busyrooms=$("$korvesta" sql "$sample" "PARAMETERS pD DateTime; SELECT Count(*) AS N FROM (SELECT DISTINCT tblTimeTableContent.Key_Aud FROM tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE tblTimeTableList.Date = pD AND tblTimeTableContent.Lesson = 1) AS A" --param "pD=$busyday" | tail -1)
check "busy auditoriums are those with a lesson" "$busyrooms" "$(grep -c $'\tзанята$' <<<"$out")"
check "lesson 0 is the first lesson" "$out" "$("$korvesta" free "$sample" --date "$busyday" --lesson 0 --kind auditoriums)"
out=$("$korvesta" free "$sample" --date 01.01.2001 --lesson 2 --kind groups)
check "a date without a timetable leaves every group free" 0 "$(grep -c $'\tзанята$' <<<"$out")"
"$korvesta" free "$sample" --date "$busyday" --lesson 1 --kind rooms 2>/dev/null
check "an unknown kind exits 2" 2 $?
"$korvesta" free "$sample" --lesson 1 2>/dev/null
check "free without a date exits 2" 2 $?
check "free leaves the document as it was" "$before" "$(sha1sum "$sample")"

"$korvesta" cover "$sample" --date "$busyday" --out "$dir/замены.txt"
check "cover --out exits 0" 0 $?
check "the cover report is titled by its date" 1 "$(grep -c "ЗАМЕНЫ НА $busyday (" "$dir/замены.txt")"
# Laid out on pages with fonts, but on no screen: no display is needed.
env -u QT_QPA_PLATFORM -u DISPLAY "$korvesta" cover "$sample" --date "$busyday" \
    --report "$dir/замены.pdf" 2>/dev/null
check "the cover report as PDF needs no display" "%PDF" "$(head -c 4 "$dir/замены.pdf")"
"$korvesta" cover "$sample" --date "$busyday" --report "$dir/замены.doc" 2>/dev/null
check "a cover report of an unknown kind exits 2" 2 $?
"$korvesta" cover "$sample" --date "$busyday" 2>/dev/null
check "cover without a tutor or a report exits 2" 2 $?
check "the cover report leaves the document as it was" "$before" "$(sha1sum "$sample")"

# A copy over many dates is written whole or not at all: killed half-way, it leaves the
# document as it was or as the finished copy leaves it, never between, and prints the dates
# only once they are written.
# A whole year placed: the copy replaces lessons as it goes, within the load.
lessons() { "$korvesta" sql "$1" "SELECT Count(*) AS N FROM tblTimeTableContent" | tail -1; }
"$korvesta" demo "$dir/year.kvt" --full-year >/dev/null
busyday=$("$korvesta" sql "$dir/year.kvt" "SELECT TOP 1 tblTimeTableList.Date FROM tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList GROUP BY tblTimeTableList.Date ORDER BY Count(*) DESC, tblTimeTableList.Date" | tail -1)
until=$(date -d "$(awk -F. '{print $3"-"$2"-"$1}' <<<"$busyday") + 150 days" +%d.%m.%Y)
cp "$dir/year.kvt" "$dir/whole.kvt"
cp "$dir/year.kvt" "$dir/killed.kvt"
"$korvesta" copy "$dir/whole.kvt" --day "$busyday" --until "$until" 2>/dev/null >/dev/null
check "a copy onto dates with lessons needs --yes" 1 $?
check "a refused copy changes nothing" "$(lessons "$dir/year.kvt")" "$(lessons "$dir/whole.kvt")"
"$korvesta" copy "$dir/whole.kvt" --day "$busyday" --until "$until" --yes >/dev/null 2>&1
check "the whole copy exits 0" 0 $?
whole=$(lessons "$dir/whole.kvt")
was=$(lessons "$dir/killed.kvt")
"$korvesta" copy "$dir/killed.kvt" --day "$busyday" --until "$until" --yes >"$dir/copied" 2>/dev/null &
copying=$!
sleep 1.5
kill -9 $copying 2>/dev/null
wait $copying 2>/dev/null
now=$(lessons "$dir/killed.kvt")
[ "$now" = "$was" ] || [ "$now" = "$whole" ]
check "a killed copy leaves the document as before ($was) or after ($whole): $now" 0 $?
if [ "$now" = "$was" ]; then
    check "a killed copy printed no date" 0 "$(wc -l <"$dir/copied")"
fi
"$korvesta" check "$dir/whole.kvt" >/dev/null 2>&1
check "the finished copy leaves no error the check finds" 0 $?

imp="$dir/импорт.kvt"
"$korvesta" new "$imp"
printf 'ФИО;Предмет;Группа;Курс;Кол. ч\r\nИванов;Физика;ПИ-21;1;72\nИванов;Физика;ПИ-21;1;0\r\n' >"$dir/load.csv"
before=$(sha1sum "$imp")
"$korvesta" import "$imp" "$dir/load.csv" --kind load --map hours="Кол. ч" --create-missing --dry-run >/dev/null 2>&1
check "an import with a skipped row exits 1" 1 $?
check "a dry-run import leaves the document as it was" "$before" "$(sha1sum "$imp")"
out=$("$korvesta" import "$imp" "$dir/load.csv" --kind load --map hours=E --create-missing --yes 2>/dev/null)
check "the import reports each row" "$(printf 'Строка 3\tпропущено\tНагрузка не задана')" "$(tail -1 <<<"$out")"
check "the imported load line" "$(printf 'Hours\n72')" "$("$korvesta" sql "$imp" "SELECT Hours FROM tblJobList")"
printf '\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1' >"$dir/old.xls"
"$korvesta" import "$imp" "$dir/old.xls" --kind groups 2>"$dir/err"
check "an old .xls book exits 3" 3 $?
check "an old .xls book is told to be saved as .xlsx" 1 "$(grep -c 'сохраните как «Книга Excel (.xlsx)»' "$dir/err")"

# Every command through the one parser: its help, and a usage error as one line naming the
# help, exit 2. The commands are those "korvesta help" lists.
commands=$("$korvesta" help | sed -n 's/^  korvesta \([a-z][a-z-]*\).*/\1/p')
check "help lists every command" 27 "$(wc -w <<<"$commands")"
readme="$(dirname "$0")/../../README.md"
for c in $commands; do
    "$korvesta" "$c" --help >/dev/null 2>&1; check "$c --help exits 0" 0 $?
    "$korvesta" "$c" --нет-такого >/dev/null 2>"$dir/err"; check "$c with an unknown option exits 2" 2 $?
    check "$c's usage error is two lines" "Справка: korvesta $c --help" "$(tail -1 "$dir/err")"
    [ "$c" = help ] || grep -q "^| \`korvesta $c\b" "$readme"; check "the README's table has $c" 0 $?
done
while IFS='|' read -r expected args; do
    eval "line=($args)"
    "$korvesta" "${line[@]}" >/dev/null 2>"$dir/err"
    check "${line[*]} exits $expected" "$expected" $?
    [ "$expected" != 2 ] || [ "$(wc -l <"$dir/err")" -le 2 ]; check "${line[*]}: one short line" 0 $?
done <<'LINES'
2|clear "$sample" --date 01.10.2026 --date 02.10.2026 --lesson 1 --group x
2|clear "$sample" --date
2|clear "$sample" --date=31.02.2026 --lesson 1 --group x
2|free "$sample" --date 01.10.2026 --lesson один
2|place "$sample" --date 01.10.2026 --lesson 1 --group x --discipline y --pair=yes
2|copy "$sample" --day 01.10.2026 --onto 02.10.2026 --overwrite some
2|names "$sample" --kind rooms
2|check "$sample" extra
0|names --kind groups -- "$sample"
LINES

# One way to name things: the names the document prints are the names every command takes,
# in any letter case and spacing; a name several objects share is refused with them.
first() { "$korvesta" names "$sample" --kind "$1" | head -1; }
g=$(first groups); t=$(first tutors); a=$(first auditoriums)
surnames=$("$korvesta" names "$sample" --kind tutors | grep -c "^${t%% *} ")
rooms=$("$korvesta" names "$sample" --kind auditoriums | grep -c "^${a% (*} (")
report() { "$korvesta" report "$sample" "$1" --object "$2" --out "$dir/r.txt" >/dev/null 2>"$dir/err"; }
while IFS='|' read -r kind name expected; do
    report "$kind" "$name"; check "$kind «$name» exits $expected" "$expected" $?
done <<LINES
РАСПИСАНИЕ ГРУППЫ|$g|0
РАСПИСАНИЕ ГРУППЫ|${g% (*}|0
РАСПИСАНИЕ ГРУППЫ|${g,,}|0
РАСПИСАНИЕ ГРУППЫ|  ${g/ (/  (}|0
РАСПИСАНИЕ ГРУППЫ|${g% (*} (7)|1
РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ|$t|0
РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ|${t%% *}|$([ "$surnames" = 1 ] && echo 0 || echo 2)
РАСПИСАНИЕ АУДИТОРИИ|$a|0
РАСПИСАНИЕ АУДИТОРИИ|${a% (*}|$([ "$rooms" = 1 ] && echo 0 || echo 2)
LINES
"$korvesta" sql "$twin" "SELECT 1" >/dev/null
report() { "$korvesta" report "$twin" "РАСПИСАНИЕ ГРУППЫ" --object "$1" --out "$dir/r.txt" >/dev/null 2>"$dir/err"; }
report "ИС-11"; check "a name two courses share exits 2" 2 $?
grep -q 'ИС-11 (1), ИС-11 (2)' "$dir/err"; check "the shared name's groups are listed" 0 $?
report "ис-11 (2)"; check "the second course's group by its course" 0 $?
check "free prints the names every command takes" "$("$korvesta" names "$sample" --kind groups | sort)" \
    "$("$korvesta" free "$sample" --date 01.10.2026 --lesson 1 --kind groups | tail -n +2 | cut -f1 | sort)"

# Machine output: json that parses, with ISO dates, and tsv with one header line.
json() { "$korvesta" "$@" --format json 2>/dev/null | jq -e 'type == "array"' >/dev/null; }
json names "$sample" --kind tutors; check "names as json" 0 $?
json free "$sample" --date 01.10.2026 --lesson 1; check "free as json" 0 $?
json check "$checked"; check "check as json" 0 $?
json clear "$sample" --from 01.10.2026 --to 02.10.2026 --dry-run; check "a dry run as json" 0 $?
json sql "$sample" "SELECT TOP 1 Date FROM tblTimeTableList"; check "sql as json" 0 $?
out=$("$korvesta" sql "$sample" "SELECT TOP 1 Date FROM tblTimeTableList ORDER BY Date" --format json | jq -r '.[0].Date')
[[ $out =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}$ ]]; check "json dates are ISO: $out" 0 $?
out=$("$korvesta" free "$sample" --date 01.10.2026 --lesson 1 --kind groups --format json | jq -r '[.[] | .free | type] | unique | join(",")')
check "free's state is a boolean in json" "boolean" "$out"

# A compiled week is compiled again only when asked, and asked to be sure.
week=(--from 12.10.2026 --to 16.10.2026)
"$korvesta" clear "$sample" "${week[@]}" --yes >/dev/null
g=$("$korvesta" names "$sample" --kind groups | head -1)
"$korvesta" generate "$sample" "${week[@]}" --group "$g" --time-limit 2 >/dev/null 2>&1
check "generate places a cleared week" 0 $?
placed=$("$korvesta" sql "$sample" "SELECT Count(*) FROM tblCompiledLessons" | tail -1)
"$korvesta" generate "$sample" "${week[@]}" --group "$g" --replace >/dev/null 2>"$dir/err"
check "replace without --yes refuses" 1 $?
grep -q "Подтвердите это ключом --yes" "$dir/err"; check "and says how to confirm" 0 $?
"$korvesta" generate "$sample" "${week[@]}" --group "$g" --replace --yes >/dev/null 2>"$dir/err"
check "replace with --yes compiles again" 0 $?
grep -q "Убрано составленных ранее занятий: $placed" "$dir/err"; check "every earlier lesson replaced" 0 $?

# Two programs placing at once into one file, the same auditorium and lesson for two groups:
# the second writes under the file's write lock and checks again, so the auditorium is never
# given twice whichever comes first.
g1=$("$korvesta" names "$sample" --kind groups | sed -n 2p)
g2=$("$korvesta" names "$sample" --kind groups | sed -n 3p)
aud=$("$korvesta" names "$sample" --kind auditoriums | head -1)
discipline() {
    "$korvesta" sql "$sample" "SELECT TOP 1 tblDisciplines.Discipline FROM ((tblJobList INNER JOIN tblJob ON tblJob.Key = tblJobList.Key_Job) INNER JOIN tblDisciplines ON tblDisciplines.Key = tblJob.Key_Discipline) INNER JOIN tblGroups ON tblGroups.Key = tblJobList.Key_Group WHERE tblGroups.Group & ' (' & tblGroups.Course & ')' = '$1' ORDER BY tblJobList.Key DESC" | tail -1
}
d1=$(discipline "$g1"); d2=$(discipline "$g2")
"$korvesta" place "$sample" --date 14.10.2026 --lesson 8 --group "$g1" --discipline "$d1" --aud "$aud" >/dev/null 2>&1 &
first=$!
"$korvesta" place "$sample" --date 14.10.2026 --lesson 8 --group "$g2" --discipline "$d2" --aud "$aud" >/dev/null 2>&1
second=$?
wait $first; first=$?
[ $first -eq 0 ] || [ $second -eq 0 ]; check "one of two placements at once is written" 0 $?
"$korvesta" check "$sample" --from 14.10.2026 --to 14.10.2026 >/dev/null 2>&1
check "and the auditorium is not given twice" 0 $?

# The completion is made from the same definitions: every option of every command completes,
# and the document's own names after --group.
"$korvesta" help --bash-completion >"$dir/completion.bash"
mkdir -p "$dir/bin"; ln -s "$(realpath "$korvesta")" "$dir/bin/korvesta"
for c in $commands; do
    for o in $("$korvesta" "$c" --help | grep -o '^  -[-a-zA-Z, ]*' | tr ',' ' '); do
        offered=$(PATH="$dir/bin:$PATH" bash -c '
            source /usr/share/bash-completion/bash_completion; source "$1"
            COMP_WORDS=(korvesta "$2" "$3" "${4:0:3}"); COMP_CWORD=3
            COMP_LINE="${COMP_WORDS[*]}"; COMP_POINT=${#COMP_LINE}
            _korvesta; printf "%s\n" "${COMPREPLY[@]}"' _ "$dir/completion.bash" "$c" "$sample" "$o")
        [ "${o:0:2}" != "--" ] || grep -qx -- "$o" <<<"$offered"
        check "completion offers $c $o" 0 $?
    done
done
offered=$(PATH="$dir/bin:$PATH" bash -c '
    source /usr/share/bash-completion/bash_completion; source "$1"
    COMP_WORDS=(korvesta place "$2" --group ""); COMP_CWORD=4
    COMP_LINE="${COMP_WORDS[*]}"; COMP_POINT=${#COMP_LINE}
    _korvesta; printf "%s\n" "${COMPREPLY[@]}"' _ "$dir/completion.bash" "$sample")
check "the document's groups complete after --group" "$("$korvesta" names "$sample" --kind groups | wc -l)" "$(wc -l <<<"$offered")"
grep -qF "$(printf '%q' "$g")" <<<"$offered"; check "a group completes quoted" 0 $?

[ $failures -eq 0 ] && echo "all passed"
exit $failures
