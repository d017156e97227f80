# One place for the warning flags: our targets link `project_warnings`, third-party code does not.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE -Wall -Wextra -Wpedantic)
