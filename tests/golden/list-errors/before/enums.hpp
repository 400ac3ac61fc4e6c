old registry header
