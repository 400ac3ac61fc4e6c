# SPDX-License-Identifier: MIT
cmake_minimum_required(VERSION 3.25)
# enumgen_generate(drawing ${ARGS}) as a project calls it, for the mistakes it
# stops the configuration with.
include("${ENUMGEN_MODULE}")
enumgen_generate(drawing ${ARGS})
