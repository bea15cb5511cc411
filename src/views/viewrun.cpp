#include "viewrun.h"

#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/prompts.h"
#include "fillregistry.h"
#include "grid/gridmodel.h"

namespace korvesta {

namespace {

// Errors that say the document's queries are not what the program reads: a field, parameter
// or table missing, a query text that does not read, a value of the wrong kind.
bool isLayoutError(int code)
{
    switch (code) {
    case dberr::NoCurrentRecord:
    case dberr::TooFewParameters:
    case dberr::SyntaxError:
    case dberr::TableNotFound:
    case dberr::ItemNotFound:
    case dberr::TypeMismatch:
        return true;
    default:
        return false;
    }
}

} // namespace

bool runViewStep(ViewContext &ctx, const std::function<void()> &step)
{
    try {
        step();
        return true;
    } catch (const DbError &error) {
        if (isLayoutError(error.code()))
            ctx.session.handleError(DbError(dberr::ForeignFormat, error.message()));
        else
            ctx.session.handleError(error);
    } catch (const std::exception &error) {
        ctx.prompts.message(QStringLiteral("Не удалось показать вид") + QStringLiteral("\r\n")
                                + QStringLiteral("Действие отменено") + QStringLiteral("\r\n")
                                + QString::fromLocal8Bit(error.what()),
                            Prompts::Icon::Critical);
    } catch (...) {
        ctx.prompts.message(QStringLiteral("Не удалось показать вид") + QStringLiteral("\r\n")
                                + QStringLiteral("Действие отменено"),
                            Prompts::Icon::Critical);
    }
    return false;
}

FillResult fillView(const FillRegistry &fills, const DispatchPlan &plan, ViewContext &ctx)
{
    if (plan.clearGrid)
        ctx.grid.clear();
    ctx.gridMode = plan.gridMode.value_or(-1);
    const FillRegistry::Routines *routines = fills.find(plan.code);
    if (!plan.runFill || !routines || !routines->fill)
        return FillResult::Filled;
    return runViewStep(ctx, [&] { routines->fill(ctx); }) ? FillResult::Filled
                                                            : FillResult::Failed;
}

FillResult fillViewForObject(const FillRegistry &fills, ViewContext &ctx,
                             const ObjectListEntry &entry)
{
    const FillRegistry::Routines *routines = fills.find(ctx.viewCode);
    if (!routines || !routines->objectChosen)
        return FillResult::NoRoutine;
    return runViewStep(ctx, [&] { routines->objectChosen(ctx, entry); }) ? FillResult::Filled
                                                                          : FillResult::Failed;
}

FillResult refillPane(const FillRegistry &fills, ViewContext &ctx)
{
    const FillRegistry::Routines *routines = fills.find(ctx.viewCode);
    if (!routines || !routines->paneRefill)
        return FillResult::NoRoutine;
    return runViewStep(ctx, [&] { routines->paneRefill(ctx); }) ? FillResult::Filled
                                                                 : FillResult::Failed;
}

} // namespace korvesta
