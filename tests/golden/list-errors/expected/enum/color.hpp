old color header
