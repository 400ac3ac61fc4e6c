// Corner
