#include "commanddocument.h"

#include "commandrun.h"

#include "data/apppaths.h"

namespace korvesta {

CommandDocument::CommandDocument(const QString &path, const CommandSettings::Values &sets, Use use,
                                 bool yes, QTextStream &err)
    : m_settings(sets)
    , m_prompts(err, yes)
{
    if (!documentFileGiven(path, err))
        return;
    if (!m_settings.usable()) {
        err << CommandSettings::unusableText() << Qt::endl;
        return;
    }
    m_session.emplace(m_prompts, m_settings.store(), AppPaths::standard());
    m_session->setReadingOnly(use == Use::Read);
    m_session->startFromCommandLine({path});
    m_db = m_session->access();
}

} // namespace korvesta
