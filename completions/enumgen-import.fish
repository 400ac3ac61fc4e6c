# SPDX-License-Identifier: MIT
# fish completion for enumgen-import.

complete -c enumgen-import -s p -x -a '(__fish_complete_directories)' -d 'The build folder with compile_commands.json'
complete -c enumgen-import -s o -r -F -d 'Write the enum list to this file'
complete -c enumgen-import -l all -d 'Import every enum, not only Q_ENUM and Q_FLAG ones'
complete -c enumgen-import -l lock -r -F -d 'Write the lock of the list to this file as well'
complete -c enumgen-import -l enum -x -d 'Import only this enum (Kind or Shape::Kind); repeat for more'
complete -c enumgen-import -s k -l keep-going -d 'Write the list of the headers that parse when some do not'
complete -c enumgen-import -s j -x -d 'Parse this many headers at once (default: one per core)'
