// a stale copy
