#pragma once

#include <string>
#include <string_view>

// The activities window's use of its catalog dataset: which records each view shows, in which
// order, and how the search box moves the current record.
namespace catalog
{

class ClientDataSet;

enum class View { Lessons, Quizzes };

// Defines the index "discip" over cod_disp;cod_web and makes the dataset use it.
void useCatalogIndex(ClientDataSet& dataSet);

// Closes the dataset, sets its file name, opens it (reading the file again), switches filtering
// off, sets the view's filter text, switches filtering on and makes the first record of the view
// current. The view's filter selects grade `grade`, subject `subject` (for "ESSO": Geografia and
// História, that text set after the general one) and the kind: "delvanos" marks a lesson, any
// other value a quiz. Throws the dataset's errors: when the open fails the dataset stays closed;
// when the filter names a field the file lacks, the dataset stays open with filtering off.
void openWithFilter(ClientDataSet& dataSet, const std::string& fileName, View view,
                    std::string_view grade, std::string_view subject);

// The search box. When `text` converts to an integer (conversions::toInteger) the first record of
// the view whose cod_web begins with `text` (ignoring case) becomes current, or, for a numeric
// cod_web, the first whose code equals that integer; when `text` does not convert, or that
// search raises an error, the same is done with descricao. `text` is compared literally, as
// typed, whatever characters it holds. An empty text finds nothing. When nothing is found the
// current record stays and false is returned. Throws "<name>: Cannot perform this operation on a
// closed dataset" when closed, and the field error when the file lacks descricao.
[[nodiscard]] bool search(ClientDataSet& dataSet, std::string_view text);

} // namespace catalog
