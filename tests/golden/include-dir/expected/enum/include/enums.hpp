#pragma once
// 2 enums
