# Regenerates the models, pictures and sounds into a scratch folder and compares them byte for byte with the
# committed ones, so the files the game ships never drift from the generator that makes them.
# Expects GENERATOR (the voidskirmish_assets binary), SOURCE_ROOT (the repository) and SCRATCH.
file(REMOVE_RECURSE "${SCRATCH}")
execute_process(COMMAND "${GENERATOR}" "${SCRATCH}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "voidskirmish_assets failed: ${status}")
endif()

file(GLOB_RECURSE generated RELATIVE "${SCRATCH}" "${SCRATCH}/Voidskirmish/Material/*" "${SCRATCH}/Voidskirmish/Sound/*")
file(GLOB_RECURSE committed RELATIVE "${SOURCE_ROOT}" "${SOURCE_ROOT}/Voidskirmish/Material/*"
     "${SOURCE_ROOT}/Voidskirmish/Sound/*")
if(NOT generated STREQUAL committed)
  message(FATAL_ERROR "Generated files:\n  ${generated}\ndiffer from committed files:\n  ${committed}")
endif()

set(mismatches "")
foreach(file IN LISTS generated)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${SCRATCH}/${file}" "${SOURCE_ROOT}/${file}"
                  RESULT_VARIABLE different)
  if(different)
    list(APPEND mismatches "${file}")
  endif()
endforeach()
if(mismatches)
  message(FATAL_ERROR "Regenerated files differ from the committed ones: ${mismatches}\n"
                      "Run voidskirmish_assets on the repository root and commit the result.")
endif()
list(LENGTH generated count)
message(STATUS "${count} generated files match the committed ones")
