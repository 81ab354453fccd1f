// The command line of every tool of the pipeline, composed from the run
// settings and the work-file names. Lines are built piece by piece, each
// piece ending in one blank, and are read by the shell. A file name (an input
// file, the constraint file, a name made from an input file) that is empty or
// holds a character the shell would not read as itself becomes one
// single-quoted word; option values stay as given, so "$TALVO/..." and a
// value's own "$VAR" are expanded by the shell.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/run_settings.h"

/// C reader: "lurin -notitle -o <dir>lurin.cfi <inputs> -i $TALVO/... -d <D>... -i <ip>...  ".
std::string composeReaderCommand(const RunSettings& rs, std::string_view directory);
/// C-to-graph conversion: "dravik -pf -notitle -o <dir>lurin.cdfg <dir>lurin.cfi -ip <ip>... ".
std::string composeGraphCommand(const RunSettings& rs, std::string_view directory);
/// Checker. Chooses the output kind the tools are asked for, the tool lines'
/// rule: ANSI-C over AlgorithmicC over DSP, which is what remains and needs no
/// request (the `dsp` setting is not looked at). Records in `dspOutput`
/// whether DSP was chosen. The consistency checks order the requests the other
/// way round (settings/consistency.cc), to pick their group of checks; run
/// control refuses two requests together before either rule is used, so the
/// two orders never meet in a run.
std::string composeCheckerCommand(RunSettings& rs, std::string_view graphDirectory, std::string_view graphFile,
                                  std::string_view infoDirectory, std::string_view infoFile, bool noCheck);
/// Include reader: "seltor -read -inc <dir><file> <names>... ".
std::string composeIncludeReadCommand(std::string_view infoDirectory, std::string_view infoFile,
                                      const std::vector<std::string>& fileNames);
/// Pre-elaboration; "-pointer " exactly when the last checker line chose DSP.
std::string composePreElaborationCommand(const RunSettings& rs, std::string_view graphDirectory,
                                         std::string_view graphFile, std::string_view infoDirectory,
                                         std::string_view infoFile, std::string_view outputDirectory,
                                         std::string_view outputFile);
/// Instance dump: "pomsk ".
std::string composeDumpCommand();
/// Graph-to-C elaboration: "kivard -notitle <dir>elb_lurin.cdfg -mfile <dir>elb_  ".
std::string composeElaborationCommand(std::string_view directory);
/// Include writer: "seltor -write -inc <info> <outdir><prefix><name>... -s <suffix> -add <header> ".
std::string composeIncludeWriteCommand(std::string_view infoDirectory, std::string_view infoFile,
                                       std::string_view outputDirectory, std::string_view prefix,
                                       const std::vector<std::string>& fileNames, std::string_view suffix,
                                       std::string_view extraHeader);
