// The shared library's C interface for programs: kolmar_run and the accessors of its handle.
// Nothing escapes it: a failure inside becomes KOLMAR_STATUS_INTERNAL or an empty answer.
#include "bidirectional_entry.h"
#include "kolmar/portable.h"
#include "kolmar/results.h"
#include "program_entry.h"

#include <limits>
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
    try {
        return results->data->Table(case_index, table); // made on the first request
    } catch (...) {
        return nullptr; // no memory left for it
    }
}

const kolmar::engine::KeptCase* CaseOf(const KolmarResults* results, int case_index) {
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
    try {
        return results && results->data ? results->data->Json().c_str() : "";
    } catch (...) {
        return ""; // no memory left for the text
    }
}

extern "C" KOLMAR_EXPORT int kolmar_results_case_count(const KolmarResults* results) {
    return results && results->data ? static_cast<int>(results->data->run.cases.size()) : 0;
}

extern "C" KOLMAR_EXPORT double kolmar_results_case_diameter(const KolmarResults* results,
                                                             int case_index) {
    const auto* c = CaseOf(results, case_index);
    return c ? LengthOut(results, c->Capacity().shaft.D) : 0.0;
}

extern "C" KOLMAR_EXPORT double kolmar_results_case_length(const KolmarResults* results,
                                                           int case_index) {
    const auto* c = CaseOf(results, case_index);
    return c ? LengthOut(results, c->length) : 0.0;
}

extern "C" KOLMAR_EXPORT int kolmar_results_design_row(const KolmarResults* results,
                                                       int case_index) {
    const auto* c = CaseOf(results, case_index);
    return c ? c->design_row : -1;
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
            !results->data->has_json)
            return KOLMAR_STATUS_FILE_ERROR;
        return kolmar::engine::WriteResultsFile(kolmar::PathFromUtf8(path), results->data->run)
                   ? 0
                   : KOLMAR_STATUS_FILE_ERROR;
    } catch (...) {
        return KOLMAR_STATUS_FILE_ERROR;
    }
}

extern "C" KOLMAR_EXPORT void kolmar_results_free(KolmarResults* results) {
    delete results;
}

// The simulated bidirectional load test.
struct KolmarBidirectional {
    std::unique_ptr<kolmar::engine::BidirectionalAnswer> data;
};

namespace {

const ResultTable* BidirTable(const KolmarBidirectional* result, int table) {
    if (result == nullptr || !result->data || table < 0 ||
        table >= kolmar::engine::kBidirectionalTableCount)
        return nullptr;
    return &result->data->tables[static_cast<std::size_t>(table)];
}

} // namespace

extern "C" KOLMAR_EXPORT int kolmar_bidirectional(const char* input_path, double cell_depth,
                                                  double cell_capacity, int at_balance,
                                                  KolmarBidirectional** result) {
    if (result != nullptr)
        *result = nullptr;
    try {
        kolmar::engine::BidirectionalRequest request;
        request.input = input_path ? input_path : "";
        request.cell_depth = cell_depth;
        request.cell_capacity = cell_capacity;
        request.at_balance = at_balance != 0;
        auto data = kolmar::engine::RunBidirectional(request);
        const int status = data->status;
        if (result != nullptr) {
            auto handle = std::make_unique<KolmarBidirectional>();
            handle->data = std::move(data);
            *result = handle.release();
        }
        return status;
    } catch (...) {
        return KOLMAR_STATUS_INTERNAL;
    }
}

extern "C" KOLMAR_EXPORT int kolmar_bidirectional_status(const KolmarBidirectional* result) {
    return result && result->data ? result->data->status : KOLMAR_STATUS_INTERNAL;
}

extern "C" KOLMAR_EXPORT const char*
kolmar_bidirectional_message(const KolmarBidirectional* result) {
    return result && result->data ? result->data->message.c_str() : "";
}

extern "C" KOLMAR_EXPORT const char* kolmar_bidirectional_json(const KolmarBidirectional* result) {
    return result && result->data ? result->data->json.c_str() : "";
}

extern "C" KOLMAR_EXPORT const char*
kolmar_bidirectional_first_part(const KolmarBidirectional* result) {
    return result && result->data ? result->data->first_part.c_str() : "";
}

extern "C" KOLMAR_EXPORT double kolmar_bidirectional_value(const KolmarBidirectional* result,
                                                           int value) {
    if (result == nullptr || !result->data || value < 0 ||
        value >= kolmar::engine::kBidirectionalValueCount)
        return std::numeric_limits<double>::quiet_NaN();
    return result->data->values[static_cast<std::size_t>(value)];
}

extern "C" KOLMAR_EXPORT const double*
kolmar_bidirectional_table(const KolmarBidirectional* result, int table, int* rows, int* columns) {
    const ResultTable* t = BidirTable(result, table);
    if (rows)
        *rows = t ? static_cast<int>(t->Rows()) : 0;
    if (columns)
        *columns = t ? static_cast<int>(t->columns.size()) : 0;
    if (t == nullptr)
        return nullptr;
    static const double kNone = 0.0;
    return t->values.empty() ? &kNone : t->values.data();
}

extern "C" KOLMAR_EXPORT const char*
kolmar_bidirectional_column_name(const KolmarBidirectional* result, int table, int column) {
    const ResultTable* t = BidirTable(result, table);
    if (t == nullptr || column < 0 || column >= static_cast<int>(t->columns.size()))
        return nullptr;
    return t->columns[static_cast<std::size_t>(column)].name.c_str();
}

extern "C" KOLMAR_EXPORT const char*
kolmar_bidirectional_column_unit(const KolmarBidirectional* result, int table, int column) {
    const ResultTable* t = BidirTable(result, table);
    if (t == nullptr || column < 0 || column >= static_cast<int>(t->columns.size()))
        return nullptr;
    return t->columns[static_cast<std::size_t>(column)].unit.c_str();
}

extern "C" KOLMAR_EXPORT void kolmar_bidirectional_free(KolmarBidirectional* result) {
    delete result;
}
