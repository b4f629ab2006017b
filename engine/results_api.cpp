// The shared library's C interface for programs: kolmar_run and the accessors of its handle.
// Nothing escapes it: a failure inside becomes KOLMAR_STATUS_INTERNAL or an empty answer.
#include "kolmar/portable.h"
#include "kolmar/results.h"
#include "program_entry.h"

#include <new>

struct KolmarResults {
    std::unique_ptr<kolmar::engine::ProgramResults> data;
    std::string status_text;
};

namespace {

using kolmar::engine::ProgramResults;
using kolmar::engine::ResultTable;

const ResultTable* TableOf(const KolmarResults* results, int case_index, int table) {
    if (results == nullptr || !results->data)
        return nullptr;
    return results->data->Table(case_index, table);
}

const kolmar::engine::CaseResult* CaseOf(const KolmarResults* results, int case_index) {
    if (results == nullptr || !results->data || case_index < 0 ||
        case_index >= static_cast<int>(results->data->run.cases.size()))
        return nullptr;
    return &results->data->run.cases[static_cast<std::size_t>(case_index)];
}

double LengthOut(const KolmarResults* results, double ft) {
    return results->data->run.input.si() ? ft / kolmar::kMToFt : ft;
}

} // namespace

extern "C" KOLMAR_EXPORT int kolmar_run(const char* input_path, const char* output_dir,
                                        const char* base_name, const char* json_path,
                                        KolmarResults** results) {
    if (results != nullptr)
        *results = nullptr;
    try {
        kolmar::engine::ProgramRun request;
        request.input = kolmar::PathFromUtf8(input_path ? input_path : "");
        request.output_dir = kolmar::PathFromUtf8(output_dir ? output_dir : "");
        request.base = base_name ? base_name : "";
        request.json = kolmar::PathFromUtf8(json_path ? json_path : "");
        auto data = kolmar::engine::RunProgram(request);
        const int status = data->status;
        if (results != nullptr) {
            auto handle = std::make_unique<KolmarResults>();
            handle->status_text = std::string(kolmar::engine::StatusMeaning(status));
            handle->data = std::move(data);
            *results = handle.release();
        }
        return status;
    } catch (...) {
        return KOLMAR_STATUS_INTERNAL;
    }
}

extern "C" KOLMAR_EXPORT int kolmar_results_status(const KolmarResults* results) {
    return results && results->data ? results->data->status : KOLMAR_STATUS_INTERNAL;
}

extern "C" KOLMAR_EXPORT const char* kolmar_results_status_text(const KolmarResults* results) {
    return results ? results->status_text.c_str() : "";
}

extern "C" KOLMAR_EXPORT const char* kolmar_results_messages(const KolmarResults* results) {
    return results && results->data ? results->data->messages.c_str() : "";
}

extern "C" KOLMAR_EXPORT const char* kolmar_results_json(const KolmarResults* results) {
    return results && results->data ? results->data->json.c_str() : "";
}

extern "C" KOLMAR_EXPORT int kolmar_results_case_count(const KolmarResults* results) {
    return results && results->data ? static_cast<int>(results->data->run.cases.size()) : 0;
}

extern "C" KOLMAR_EXPORT double kolmar_results_case_diameter(const KolmarResults* results,
                                                             int case_index) {
    const auto* c = CaseOf(results, case_index);
    return c ? LengthOut(results, c->capacity.shaft.D) : 0.0;
}

extern "C" KOLMAR_EXPORT double kolmar_results_case_length(const KolmarResults* results,
                                                           int case_index) {
    const auto* c = CaseOf(results, case_index);
    return c ? LengthOut(results, c->length) : 0.0;
}

extern "C" KOLMAR_EXPORT int kolmar_results_design_row(const KolmarResults* results,
                                                       int case_index) {
    const auto* c = CaseOf(results, case_index);
    return c ? c->capacity.design_row : -1;
}

extern "C" KOLMAR_EXPORT const double* kolmar_results_table(const KolmarResults* results,
                                                            int case_index, int table, int* rows,
                                                            int* columns) {
    const ResultTable* t = TableOf(results, case_index, table);
    if (rows)
        *rows = t ? static_cast<int>(t->Rows()) : 0;
    if (columns)
        *columns = t ? static_cast<int>(t->columns.size()) : 0;
    if (t == nullptr)
        return nullptr;
    static const double kNone = 0.0; // a valid pointer for a table without rows
    return t->values.empty() ? &kNone : t->values.data();
}

extern "C" KOLMAR_EXPORT const char*
kolmar_results_column_name(const KolmarResults* results, int case_index, int table, int column) {
    const ResultTable* t = TableOf(results, case_index, table);
    if (t == nullptr || column < 0 || column >= static_cast<int>(t->columns.size()))
        return nullptr;
    return t->columns[static_cast<std::size_t>(column)].name.c_str();
}

extern "C" KOLMAR_EXPORT const char*
kolmar_results_column_unit(const KolmarResults* results, int case_index, int table, int column) {
    const ResultTable* t = TableOf(results, case_index, table);
    if (t == nullptr || column < 0 || column >= static_cast<int>(t->columns.size()))
        return nullptr;
    return t->columns[static_cast<std::size_t>(column)].unit.c_str();
}

extern "C" KOLMAR_EXPORT int kolmar_results_write_json(const KolmarResults* results,
                                                       const char* path) {
    try {
        if (results == nullptr || !results->data || path == nullptr || *path == '\0' ||
            results->data->json.empty())
            return KOLMAR_STATUS_FILE_ERROR;
        return kolmar::engine::WriteFileAtomically(kolmar::PathFromUtf8(path), results->data->json)
                   ? 0
                   : KOLMAR_STATUS_FILE_ERROR;
    } catch (...) {
        return KOLMAR_STATUS_FILE_ERROR;
    }
}

extern "C" KOLMAR_EXPORT void kolmar_results_free(KolmarResults* results) {
    delete results;
}
