#pragma once

#include "editing/referenceeditor.h"
#include "settings/settingsrecord.h"
#include "support/documentfixture.h"

#include <gtest/gtest.h>

namespace korvesta {

// The sample institution in a document opened as the window opens it, with an editor over it.
class EditingTest : public DocumentTest
{
protected:
    // Rows of SQLite's own SQL, cells joined by '|'.
    QStringList rows(const QString &sql) const { return b.raw(sql); }
    qint64 count(const QString &sql) const { return b.rawNumber(sql); }

    // Rows that point at a record that is not there: none may ever exist.
    qint64 danglingRows() const
    {
        return count("SELECT (SELECT count(*) FROM tblTimeTableContent c WHERE "
                     " c.Key_Group NOT IN (SELECT Key FROM tblGroups) OR "
                     " c.Key_Aud NOT IN (SELECT Key FROM tblAuditories) OR "
                     " c.Key_Job NOT IN (SELECT Key FROM tblJob)) + "
                     "(SELECT count(*) FROM tblJobList l WHERE "
                     " l.Key_Group NOT IN (SELECT Key FROM tblGroups) OR "
                     " l.Key_Job NOT IN (SELECT Key FROM tblJob)) + "
                     "(SELECT count(*) FROM tblJob j WHERE "
                     " j.Key_Discipline NOT IN (SELECT Key FROM tblDisciplines) OR "
                     " j.Key_Tutor NOT IN (SELECT Key FROM tblTutors)) + "
                     "(SELECT count(*) FROM tblTutorOut o WHERE "
                     " o.KeyTutor NOT IN (SELECT Key FROM tblTutors)) + "
                     "(SELECT count(*) FROM tblTutors t WHERE t.DefaultAud IS NOT NULL AND "
                     " t.DefaultAud NOT IN (SELECT Auditoria || ' (' || Corpus || ')' "
                     " FROM tblAuditories))");
    }

    SampleInstitution s = SampleInstitution::build(b);
    SettingsRecord settings;
    ReferenceEditor editor{session, settings, prompts};
};

} // namespace korvesta
