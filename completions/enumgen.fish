# SPDX-License-Identifier: MIT
# fish completion for enumgen.

complete -c enumgen -f
complete -c enumgen -l list -r -F -d 'Read the enum list from this file'
complete -c enumgen -l templates -x -a '(__fish_complete_directories)' -d 'Read the templates from this folder'
complete -c enumgen -l output -x -a '(__fish_complete_directories)' -d 'Write into this folder'
complete -c enumgen -l include-dir -x -a '(__fish_complete_directories)' -d 'Also write the headers here'
complete -c enumgen -l remove-stale -d 'Remove the files the run does not write'
complete -c enumgen -s C -x -a '(__fish_complete_directories)' -d 'Run as if started in this folder'
complete -c enumgen -l brief -d 'Print the paths of rewritten files only'
complete -c enumgen -l outputs -d 'Write nothing; print the files a run writes'
complete -c enumgen -l check -d 'Write nothing; print the files out of date'
complete -c enumgen -l qml -d 'Check that the names can be used from QML'
complete -c enumgen -l namespace -x -d 'Generate the enums in this C++ namespace'
complete -c enumgen -l lock -r -F -d 'Check the list against this lock file'
complete -c enumgen -l lock-update -d 'Accept the changes and rewrite the lock file'
complete -c enumgen -l locked -d 'Fail on any change the lock file would need'
complete -c enumgen -l lsp -d 'Serve an editor as a language server'
complete -c enumgen -s h -l help -d 'Print the usage and exit'
complete -c enumgen -l version -d 'Print the version and exit'
