// File › Calculation Package: the package of the project's last run, on a printer or saved as
// PDF or HTML, laid out by the same routine as `kolmar report`.
#include "gui/data/DataUnit.h"
#include "gui/results/CalcPackageFiles.h"
#include "gui/run/RunControl.h"
#include "gui/shell/Main.h"
#include "ui/widgets/PrintTarget.h"
#include "ui/widgets/UserDialogs.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <filesystem>

namespace {
QString Q(const std::string& S) {
    return QString::fromStdString(S);
}
} // namespace

void TMainForm::CalcPackageClick(TPackageOutput Output) {
    if (fRunning)
        return;
    // Results belong to the project only when nothing changed since the run's save and the
    // result files are the project file's; otherwise the user may run it first.
    const bool changed = fProject->DataChanged || !ProjectIsSaved();
    const TRunFiles files = RunFilesFor(std::filesystem::path(fProject->FileName));
    std::string why = changed ? ProgramResultsOutOfDate(true, files, {}) : std::string();
    auto copy = std::make_unique<TProgramData>(*fProject);
    auto package = std::make_unique<TCalcPackage>();
    TCalcPackageProblem problem;
    if (!changed) {
        problem = PrepareCalcPackage(*copy, RunFilesFor(std::filesystem::path(fProject->FileName)),
                                     {}, *package);
        if (problem.Kind == TCalcPackageProblem::TKind::OutOfDate ||
            problem.Kind == TCalcPackageProblem::TKind::NoResults)
            why = problem.Message;
        else if (problem.Kind != TCalcPackageProblem::TKind::None) {
            fDialogs.Warning("The calculation package cannot be made:\n" + Q(problem.Message));
            return;
        }
    }
    if (!why.empty()) {
        if (fDialogs.Confirm("The results are out of date (" + Q(why) +
                             ").\nRun the analysis first?") != TUserDialogs::TAnswer::Yes)
            return;
        CompRunClick();
        if (fProject->DataChanged || !ProjectIsSaved())
            return; // the run did not happen; it has said why
        copy = std::make_unique<TProgramData>(*fProject);
        package = std::make_unique<TCalcPackage>();
        problem = PrepareCalcPackage(*copy, RunFilesFor(std::filesystem::path(fProject->FileName)),
                                     {}, *package);
        if (problem.Kind != TCalcPackageProblem::TKind::None) {
            fDialogs.Warning("The calculation package cannot be made:\n" + Q(problem.Message));
            return;
        }
    }

    const QFileInfo project(Q(fProject->FileName));
    const QString folder = project.absolutePath();
    switch (Output) {
    case TPackageOutput::Print: {
        QPrinter printer(QPrinter::HighResolution);
        const QPageLayout page(QPageSize(package->Letter ? QPageSize::Letter : QPageSize::A4),
                               QPageLayout::Portrait, QMarginsF(18, 15, 18, 15),
                               QPageLayout::Millimeter);
        if (!ChoosePrinter(printer, "Calculation Package",
                           PdfFileFor(folder, project.completeBaseName() + "-calc"), page, this))
            return;
        PrintCalcPackage(*package, printer);
        return;
    }
    case TPackageOutput::Pdf:
    case TPackageOutput::Html: {
        const bool pdf = Output == TPackageOutput::Pdf;
        const QString file = fDialogs.SaveFileName(
            pdf ? "Save Calculation Package as PDF" : "Save Calculation Package as HTML", folder,
            project.completeBaseName() + (pdf ? "-calc.pdf" : "-calc.html"),
            {pdf ? "PDF files (*.pdf)" : "HTML files (*.html)"}, pdf ? "pdf" : "html");
        if (file.isEmpty())
            return;
        int pages = 0;
        const bool written = pdf ? WriteCalcPackagePdf(*package, file.toStdString(), pages)
                                 : WriteCalcPackageHtml(*package, file.toStdString());
        if (!written)
            fDialogs.Warning("The calculation package could not be written to\n" + file);
        return;
    }
    }
}
