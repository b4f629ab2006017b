// kolmar-paint: the runner's picture companion. kolmar hands it the commands that draw with Qt
// (plot, report), with the runner's own arguments, so that kolmar itself links no Qt library.
#pragma once

struct TCommandLine;

// kolmar plot PROJECT --graph NAME -o FILE [--width-in W --height-in H --ppi P]
int PlotCommand(const TCommandLine& Line);
// kolmar report PROJECT -o FILE.pdf|html [--graphs ...] [--paper letter|a4] [--run] [--prepared-by
// NAME --checked-by NAME]: the calculation package (app/paint/cmd_report.cpp)
int ReportCommand(const TCommandLine& Line);
