# Writes a C++ source holding a compiled .res file as a byte array in the
# module's ".rsrc" section, where FindResourceW looks for it. The array has
# internal linkage: it adds no exported symbol to the module.
#   cmake -DXXD=xxd -DINPUT=file.res -DOUTPUT=file.cpp -P EmbedResources.cmake
execute_process(COMMAND ${XXD} -i INPUT_FILE ${INPUT} OUTPUT_VARIABLE bytes RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "xxd failed on ${INPUT}")
endif()
file(WRITE ${OUTPUT}.tmp
  "// Generated from a compiled resource file; do not edit.\n"
  "__attribute__((section(\".rsrc\"), used, aligned(4)))\n"
  "static const unsigned char kResources[] = {\n${bytes}};\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
