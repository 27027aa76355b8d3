void main()
{
	float x = 1.0f;

	do
	{
		x *= 0.5f;
	}	
	while (x > 0.1f);

	while (x < 1.0f)
		x += 0.25f;

	output.color = float4(x);
}
