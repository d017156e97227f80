#include "CatalogOperations.h"

#include "ClientDataSet.h"
#include "Conversions.h"
#include "Error.h"
#include "Messages.h"

namespace catalog
{

namespace
{

std::string kindCondition(View view)
{
    return view == View::Lessons ? "tipo='delvanos'" : "tipo<>'delvanos'";
}

// The grade and subject are put between apostrophes as they are: neither ever holds one.
std::string generalText(View view, std::string_view grade, std::string_view subject)
{
    return "serie='" + std::string(grade) + "' and disciplina='" + std::string(subject) + "' and "
           + kindCondition(view);
}

std::string combinedSubjectText(View view, std::string_view grade)
{
    return "serie='" + std::string(grade)
           + "' and (disciplina='Geografia' or disciplina='História') and " + kindCondition(view);
}

constexpr std::string_view combinedSubject = "ESSO";

} // namespace

void useCatalogIndex(ClientDataSet& dataSet)
{
    dataSet.addIndex("discip", "cod_disp;cod_web");
    dataSet.setIndexName("discip");
}

void openWithFilter(ClientDataSet& dataSet, const std::string& fileName, View view,
                    std::string_view grade, std::string_view subject)
{
    dataSet.close();
    dataSet.setFileName(fileName);
    dataSet.open();
    dataSet.setFiltered(false);
    dataSet.setFilter(generalText(view, grade, subject));
    if (subject == combinedSubject)
        dataSet.setFilter(combinedSubjectText(view, grade));
    dataSet.setFiltered(true);
    dataSet.first();
}

bool search(ClientDataSet& dataSet, std::string_view text)
{
    const LocateOptions beginsWith{.caseInsensitive = true, .partialKey = true};
    if (const auto code = conversions::toInteger(text)) {
        // A code search that fails (no cod_web, a code field of another type) falls back to the
        // description, as the window always did.
        try {
            const auto field = dataSet.findField("cod_web");
            const bool numeric = field && isNumeric(dataSet.field(*field).type);
            return dataSet.locate("cod_web", numeric ? std::to_string(*code) : std::string(text),
                                  beginsWith);
        } catch (const Error&) {
        }
    }
    if (!text.empty())
        return dataSet.locate("descricao", text, beginsWith);
    // An empty text never matches, but the dataset must still be usable for a search.
    if (!dataSet.active())
        throw Error(messages::withDataSet(dataSet.name(), messages::closedDataSet()));
    if (!dataSet.findField("descricao"))
        throw Error(messages::withDataSet(dataSet.name(), messages::fieldNotFound("descricao")));
    return false;
}

} // namespace catalog
