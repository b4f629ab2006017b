// kolmar check: read a project and report what stands in the way of a run.
#include "app/runner/cli.h"
#include "gui/data/DataUnit.h"
#include "gui/run/RunSequence.h"
#include "ui/model/NumberText.h"

#include <iostream>

int CheckCommand(const TCommandLine& Line) {
    if (Line.Arguments.size() != 1) {
        std::cerr << "kolmar: check takes one project file\n";
        return ExitUsage;
    }
    std::string name;
    int status = 0;
    const auto project = LoadProject(Line.Arguments[0], Line.Layout, name, status);
    if (!project)
        return status;

    if (const auto advice = UpgradeNeeded(*project, name)) {
        std::cerr << "kolmar: " << name << ":\n" << *advice << "\n";
        return ExitDataError;
    }
    if (const auto warning = CheckData(LayerCheckInputOf(*project))) {
        std::cerr << "kolmar: " << name << ":\n" << *warning << "\n";
        return ExitCheckFailed;
    }

    const bool si = project->fUnits == 2;
    const char* length = si ? " m" : " ft";
    std::cout << name << "\n"
              << "  Title:        " << project->Title << "\n"
              << "  Units:        " << (si ? "SI (kN, m)" : "English (tons, ft)") << "\n"
              << "  Design:       " << (project->NLRFD == 1 ? "LRFD" : "ASD") << ", ";
    if (project->METHOD == 1)
        std::cout << "design load " << FormatGeneral(project->LPD, 8) << (si ? " kN" : " tons");
    else
        std::cout << "proposed length " << FormatGeneral(project->PD, 8) << length;
    std::cout << "\n  Diameter:     " << FormatGeneral(project->DSTART, 8) << length;
    if (project->DIALIM > project->DSTART)
        std::cout << " to " << FormatGeneral(project->DIALIM, 8) << length;
    std::cout << "\n  Water table:  " << FormatGeneral(project->WTD, 8) << length << "\n"
              << "  Layers:       " << project->D.RowCount() << "\n";
    double top = 0;
    for (int i = 0; i < project->D.RowCount(); ++i) {
        const TSoilLayer& layer = project->D[i];
        std::cout << "    " << i + 1 << ". " << FormatGeneral(top, 8) << " to "
                  << FormatGeneral(layer.Depth, 8) << length << ": "
                  << SoilTypeLabel(layer.SoilType()) << "\n";
        top = layer.Depth;
    }
    std::cout << "The project can be run.\n";
    return 0;
}
