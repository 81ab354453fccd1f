#include "pipeline/pipeline.h"
#include "pipeline/work_directory.h"

// The pipeline lands with the pipeline work; until then a run with input files stops here.
int32_t prepareInputList(RunSettings& /*rs*/) { return -1; }
int32_t resetWorkDirectory() { return 0; }
int32_t removeTree(const std::string& /*path*/) { return 0; }
int32_t runPipeline(RunSettings& /*rs*/) { return -2; }
int32_t removeTemporaryFiles(const RunSettings& /*rs*/) { return 0; }
